// Takes a consistent copy of a running program's base with SQLite's backup API: the copy
// holds every order and dish committed when it was taken, whatever the program writes
// meanwhile. A plain file copy taken while orders are saved can be torn, and the base file
// without its -wal file misses what was written last.
//
// Restores a copy the same way, page by page through SQLite into the base: the base's own
// -wal file stays consistent with it. A copy put in the base's place by hand beside an old
// -wal file would take that log's pages for its own, and be damaged unseen.
//
//   backup PROGRAM_FOLDER/base/orvelin.db COPY.db
//   backup --restore COPY.db PROGRAM_FOLDER/base/orvelin.db
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "store/statements.h"

namespace {

int fail(sqlite3* db, const char* what) {
    std::fprintf(stderr, "backup: %s: %s\n", what, db ? sqlite3_errmsg(db) : "out of memory");
    return 1;
}

// Copies every page of source into destination in one step: a copy of one moment, with no
// writer's pages in between. Answers SQLite's result code.
int copyPages(sqlite3* source, sqlite3* destination) {
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
    if (!backup) {
        return sqlite3_errcode(destination);
    }
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            sqlite3_sleep(100);
        }
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int takeCopy(const char* base, const char* copyName) {
    if (access(copyName, F_OK) == 0) {
        std::fprintf(stderr, "backup: %s is there already; name a new file\n", copyName);
        return 2;
    }
    sqlite3* source = nullptr;
    if (sqlite3_open_v2(base, &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        return fail(source, base);
    }
    sqlite3_busy_timeout(source, 5000);
    sqlite3* copy = nullptr;
    if (sqlite3_open_v2(copyName, &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        return fail(copy, copyName);
    }
    if (const int rc = copyPages(source, copy); rc != SQLITE_OK) {
        std::fprintf(stderr, "backup: %s\n", sqlite3_errstr(rc));
        sqlite3_close(copy);
        unlink(copyName);
        return 1;
    }
    // The copy stands alone: one file, no -wal beside it.
    sqlite3_exec(copy, store::statements::standAloneJournal().toUtf8().constData(), nullptr,
                 nullptr, nullptr);
    sqlite3_close(copy);
    sqlite3_close(source);
    std::printf("%s copied to %s\n", base, copyName);
    return 0;
}

int restore(const char* copyName, const char* base) {
    sqlite3* copy = nullptr;
    if (sqlite3_open_v2(copyName, &copy, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        return fail(copy, copyName);
    }
    char* problem = nullptr;
    if (sqlite3_exec(copy, store::statements::quickCheck().toUtf8().constData(), nullptr, nullptr,
                     &problem) != SQLITE_OK) {
        std::fprintf(stderr, "backup: %s is no whole base: %s\n", copyName,
                     problem ? problem : sqlite3_errmsg(copy));
        return 1;
    }
    sqlite3* target = nullptr;
    if (sqlite3_open_v2(base, &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        return fail(target, base);
    }
    sqlite3_busy_timeout(target, 5000);
    if (const int rc = copyPages(copy, target); rc != SQLITE_OK) {
        std::fprintf(stderr,
                     "backup: %s could not be restored into %s: %s\n"
                     "Close the program, move %s and its -wal and -shm files aside, and restore "
                     "again into the empty place.\n",
                     copyName, base, sqlite3_errstr(rc), base);
        sqlite3_close(target);
        return 1;
    }
    sqlite3_close(target);
    sqlite3_close(copy);
    std::printf("%s restored into %s\n", copyName, base);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--restore") == 0) {
        return restore(argv[2], argv[3]);
    }
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: backup BASE.db COPY.db\n"
                     "       backup --restore COPY.db BASE.db\n");
        return 2;
    }
    return takeCopy(argv[1], argv[2]);
}
