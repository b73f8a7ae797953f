#include "platform/ui/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora {

namespace {
std::function<bool(long long)>& saveFault()
{
    static std::function<bool(long long)> fault;
    return fault;
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
