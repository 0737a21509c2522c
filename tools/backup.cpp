// Takes a consistent copy of a running program's base with SQLite's backup API: the copy
// holds every order and dish committed when it was taken, whatever the program writes
// meanwhile. A plain file copy taken while orders are saved can be torn, and the base file
// without its -wal file misses what was written last.
//
//   backup PROGRAM_FOLDER/base/orvelin.db COPY.db
#include <sqlite3.h>

#include <unistd.h>
#include <cstdio>
#include <string>

namespace {

int fail(sqlite3* db, const char* what) {
    std::fprintf(stderr, "backup: %s: %s\n", what, db ? sqlite3_errmsg(db) : "out of memory");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: backup BASE.db COPY.db\n");
        return 2;
    }
    if (access(argv[2], F_OK) == 0) {
        std::fprintf(stderr, "backup: %s is there already; name a new file\n", argv[2]);
        return 2;
    }
    sqlite3* source = nullptr;
    if (sqlite3_open_v2(argv[1], &source, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        return fail(source, argv[1]);
    }
    sqlite3_busy_timeout(source, 5000);
    sqlite3* copy = nullptr;
    if (sqlite3_open_v2(argv[2], &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        return fail(copy, argv[2]);
    }
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
    if (!backup) {
        return fail(copy, "starting the copy");
    }
    // All pages in one step: a copy of one moment, with no writer's pages in between.
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            sqlite3_sleep(100);
        }
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        std::fprintf(stderr, "backup: %s\n", sqlite3_errstr(rc));
        sqlite3_close(copy);
        unlink(argv[2]);
        return 1;
    }
    // The copy stands alone: one file, no -wal beside it.
    sqlite3_exec(copy, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
    sqlite3_close(copy);
    sqlite3_close(source);
    std::printf("%s copied to %s\n", argv[1], argv[2]);
    return 0;
}
