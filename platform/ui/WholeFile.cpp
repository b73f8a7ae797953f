#include "platform/ui/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif
#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace velmora {

namespace {
std::function<bool(long long)>& saveFault()
{
    static std::function<bool(long long)> fault;
    return fault;
}
QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// The reason a file operation on `file` failed with this error number.
QString reasonOf(int error, const QString& file)
{
    const QString folder = shown(QFileInfo(file).absolutePath());
    switch (error) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("No room on the disk for %1.").arg(shown(file));
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("No permission to write in %1.").arg(folder);
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("The folder %1 does not exist.").arg(folder);
    case EISDIR:
        return QStringLiteral("%1 is a folder.").arg(shown(file));
    default:
        return QStringLiteral("%1 could not be written (%2).")
            .arg(shown(file), QString::fromStdString(std::generic_category().message(error)));
    }
}

std::FILE* openFile(const QString& path, const char* mode)
{
    return std::fopen(QFile::encodeName(path).constData(), mode);
}

// A new empty file beside `path` that no other file had the name of; empty
// with *error set when none can be made.
QString createTemporaryBeside(const QString& path, int* error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QStringLiteral("%1.%2.part").arg(path).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        errno = 0;
        if (std::FILE* f = openFile(name, "wbx")) {
            if (std::fclose(f) == 0) return name;
            *error = errno;
            QFile::remove(name);
            return {};
        }
        if (errno != EEXIST) {
            *error = errno;
            return {};
        }
    }
    *error = EEXIST;
    return {};
}

// Why a file holds fewer bytes than were written to it: appending one more
// byte fails the way the lost ones did (no room, a size limit). 0 when that
// byte fits, so the file was cut for another reason.
int whyCut(const QString& file)
{
    errno = 0;
    std::FILE* f = openFile(file, "ab");
    if (!f) return errno;
    int error = 0;
    if (std::fputc('\n', f) == EOF || std::fflush(f) != 0) error = errno ? errno : EIO;
    std::fclose(f);
    return error;
}

// Puts the file's bytes on the disk; the error number of a failure, else 0.
int syncToDisk(const QString& file)
{
    errno = 0;
    std::FILE* f = openFile(file, "rb+");
    if (!f) return errno;
    int error = 0;
#if __has_include(<unistd.h>)
    if (::fsync(fileno(f)) != 0) error = errno;
#endif
    if (std::fclose(f) != 0 && error == 0) error = errno;
    return error;
}

} // namespace

void setSaveFault(std::function<bool(long long offset)> fault) { saveFault() = std::move(fault); }

bool saveWholeFile(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    // Line by line, as the file is laid out; the first failure drops the
    // temporary file and the target keeps its old bytes.
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        end = end == std::string::npos ? bytes.size() : end + 1;
        const auto length = static_cast<qint64>(end - at);
        const bool allowed = !saveFault() || saveFault()(static_cast<long long>(at));
        if (!allowed || file.write(bytes.data() + at, length) != length) {
            file.cancelWriting();
            return false;
        }
        at = end;
    }
    return file.commit();
}

QString saveWholeFileBy(const QString& path, const WriteToFile& write)
{
    const QFileInfo target(path);
    if (target.isDir()) return reasonOf(EISDIR, path);
    if (target.exists()) {
        // A file the user keeps read-only is not replaced (as Save As does).
        errno = 0;
        std::FILE* f = openFile(path, "ab");
        if (!f) return errno == EACCES ? QStringLiteral("%1 is read-only.").arg(shown(path)) : reasonOf(errno, path);
        std::fclose(f);
    }
    int error = 0;
    const QString temporary = createTemporaryBeside(path, &error);
    if (temporary.isEmpty()) return reasonOf(error, path);

    // Written, not empty, on the disk, then in place; the first failure
    // removes the temporary file.
    QString why;
    QString reason;
    const bool written = write(temporary, &why) && QFileInfo(temporary).size() > 0;
    if (!written) {
        error = whyCut(temporary);
        reason = error              ? reasonOf(error, path)
                 : !why.isEmpty()   ? why
                                    : QStringLiteral("%1 could not be written whole.").arg(shown(path));
    } else if ((error = syncToDisk(temporary)) != 0) {
        reason = reasonOf(error, path);
    } else {
        if (target.exists()) QFile::setPermissions(temporary, target.permissions());
        std::error_code failed;
        std::filesystem::rename(QFileInfo(temporary).filesystemFilePath(), target.filesystemFilePath(), failed);
        if (failed) reason = reasonOf(failed.value(), path);
    }
    if (!reason.isEmpty()) QFile::remove(temporary);
    return reason;
}

std::optional<std::string> loadWholeFile(const QString& path, std::size_t maxBytes, LoadFailure* why)
{
    LoadFailure unused = LoadFailure::None;
    LoadFailure& failure = why ? *why : unused;
    failure = LoadFailure::None;
    const auto fail = [&failure](LoadFailure f) -> std::optional<std::string> {
        failure = f;
        return std::nullopt;
    };
    // A folder, pipe or device is refused by its kind before it is opened:
    // opening a pipe for reading waits for a writer.
    const QFileInfo info(path);
    if (info.isDir()) return fail(LoadFailure::Folder);
    if (info.exists() && !info.isFile()) return fail(LoadFailure::NotAFile);

    QFile file;
#ifdef Q_OS_UNIX
    // Opened without blocking and checked again on the open file, so a pipe
    // that takes the name after the check cannot hold the window either.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(LoadFailure::NotOpened);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(st.st_mode) ? LoadFailure::Folder : LoadFailure::NotAFile);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(LoadFailure::NotOpened);
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(LoadFailure::NotOpened);
#endif
    if (file.size() > static_cast<qint64>(maxBytes)) return fail(LoadFailure::TooLarge);
    const QByteArray data = file.read(static_cast<qint64>(maxBytes) + 1);
    if (file.error() != QFileDevice::NoError) return fail(LoadFailure::NotOpened);
    if (static_cast<std::size_t>(data.size()) > maxBytes) return fail(LoadFailure::TooLarge);
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

} // namespace velmora
