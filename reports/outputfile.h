#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace reports {

// A file the program writes whole: the report files, the saved results and the pictures
// beside them. The bytes go to a new file in the target's folder, which is renamed over the
// target only once every byte is written. So a symbolic or hard link at the target is
// replaced, never written through, and a failure or a crash leaves the target as it was:
// the unfinished file is removed. A target that is a folder, a device, a pipe or a socket,
// or a file the user may not write, is refused before anything is written.
class OutputFile {
public:
    // How a file that cannot be created is told: the path and the system's error number.
    using CreateErrorText = QString (*)(const QString& path, int error);

    explicit OutputFile(const QString& path, CreateErrorText createError = reportCreateError);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(QByteArrayView bytes);
    // Writes out what is left and puts the file in the target's place.
    void commit();

    // "File access denied", "Invalid filename" or "I/O error N", with the path and the reason.
    static QString reportCreateError(const QString& path, int error);

private:
    static constexpr qsizetype kChunk = 1 << 16;
    void writeOut();
    [[noreturn]] void fail(int error);
    void discard();

    QString path_;
    QByteArray temporary_;  // the new file's name, as the system spells it
    int fd_ = -1;
    QByteArray buffer_;
};

}  // namespace reports
