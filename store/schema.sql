-- The restaurant's menu and the order lines taken for it.
--
-- What the columns hold (their names are older than this program and stay as they are; the
-- windows' labels are in quotes):
--   goods, one row per dish:
--     Code  the dish's code, typed in the editor ("Коды:"); an order names its dish by it
--     Nm    the dish's name ("Тағамның атауы:", grid "Атауы"); dishes are deleted by name
--     Tys   the dish's group ("Тобы:", grid "Тобы"); the order dialog's heading
--     DS    a second price, hidden in the editor ("Дист. бағасы:"); every save writes 4
--     PS    the price, a whole number ("Сатылым бағасы:", grid "Бағасы"); an order's price
--     Vozr  the preparation time in minutes ("Дайындалу уақыты:", grid "Дайын. уақыты
--           (мин.)"); only dishes with a time above 0 are listed
--     Comm  the description, several lines ("Құрамы:", the memo under the grid)
--     Img   the picture ("Суреті:"), a Windows bitmap: kept in pictures, below
--   orders, one row per order line (the orders view's titles):
--     code  the code of the dish ordered, goods.Code; the line stays when the dish goes
--     fio   the waiter's full name ("Официанттың аты-жөні")
--     kvo   the quantity, 1 to 999 ("Саны")
--     sena  the dish's price when it was ordered, goods.PS then ("Бағасы")
--     summ  the sum, kvo times sena ("Сомасы")
--     dt    the order's date, stored as YYYY-MM-DD ("Уақыты")
--
-- Pictures live beside the dishes, keyed by the dish code, so that scanning the menu
-- never reads picture pages.
CREATE TABLE goods (
    Code INTEGER PRIMARY KEY,
    Nm   TEXT,
    Tys  TEXT,
    DS   REAL,
    PS   INTEGER,
    Vozr INTEGER,
    Comm TEXT
) STRICT;

CREATE TABLE pictures (
    Code INTEGER PRIMARY KEY REFERENCES goods (Code) ON UPDATE CASCADE ON DELETE CASCADE,
    Img  BLOB NOT NULL
) STRICT;

CREATE TABLE orders (
    code INTEGER,
    fio  TEXT,
    kvo  INTEGER,
    sena REAL,
    summ REAL,
    dt   TEXT CHECK (dt IS date(dt))
) STRICT;

CREATE INDEX orders_code ON orders (code);

-- The sales summary reads a range of days from this index alone, without the table.
CREATE INDEX IF NOT EXISTS orders_dt ON orders (dt, fio, code, kvo, summ);

-- The dish list sorts names and groups in the Kazakh alphabet's order (ICU's "kk"
-- collation). The collation's sort keys are kept here, beside the dishes, as bytes that sort
-- as bytes: sorting 100 000 dishes by them costs little more than a plain sort, where
-- comparing the texts through ICU costs twice as much. Only plain SQL keeps them honest, so
-- the sqlite3 shell and the backup tool read and write this base as any other: whatever
-- changes a dish's code, name or group drops its keys and lists the code as due; the
-- program makes the keys that are due, and computes a missing key while it sorts.
-- The objects written IF NOT EXISTS were added to the program later: opening an older base
-- for writing makes them.
CREATE TABLE IF NOT EXISTS sortkeys (
    Code   INTEGER PRIMARY KEY,
    NmKey  BLOB,
    TysKey BLOB
) STRICT;

CREATE TABLE IF NOT EXISTS sortkeys_due (
    Code INTEGER PRIMARY KEY
) STRICT;

-- The ICU collation version the keys were made with: a new ICU may order some letters
-- differently, and then every key is made again.
CREATE TABLE IF NOT EXISTS sortkeys_version (
    Collation TEXT PRIMARY KEY,
    Version   TEXT NOT NULL
) STRICT;

CREATE TRIGGER IF NOT EXISTS goods_sortkeys_insert AFTER INSERT ON goods BEGIN
    DELETE FROM sortkeys WHERE Code = new.Code;
    INSERT OR IGNORE INTO sortkeys_due (Code) VALUES (new.Code);
END;

CREATE TRIGGER IF NOT EXISTS goods_sortkeys_update AFTER UPDATE OF Code, Nm, Tys ON goods BEGIN
    DELETE FROM sortkeys WHERE Code IN (old.Code, new.Code);
    DELETE FROM sortkeys_due WHERE Code = old.Code;
    INSERT OR IGNORE INTO sortkeys_due (Code) VALUES (new.Code);
END;

CREATE TRIGGER IF NOT EXISTS goods_sortkeys_delete AFTER DELETE ON goods BEGIN
    DELETE FROM sortkeys WHERE Code = old.Code;
    DELETE FROM sortkeys_due WHERE Code = old.Code;
END;
