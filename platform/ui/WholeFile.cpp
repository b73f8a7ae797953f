#include "platform/ui/WholeFile.h"

#include <QFile>
#include <QSaveFile>

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

std::optional<std::string> loadWholeFile(const QString& path, std::size_t maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > static_cast<qint64>(maxBytes)) return std::nullopt;
    const QByteArray data = file.read(static_cast<qint64>(maxBytes) + 1);
    if (file.error() != QFileDevice::NoError || static_cast<std::size_t>(data.size()) > maxBytes) return std::nullopt;
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

} // namespace velmora
