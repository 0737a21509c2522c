-- The restaurant's menu and the order lines taken for it.
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
CREATE INDEX orders_dt ON orders (dt, fio, code, kvo, summ);
