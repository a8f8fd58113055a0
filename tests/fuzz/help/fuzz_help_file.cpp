// Drives the whole help-file reader with arbitrary files: the container
// checks, then the CHM library behind them, then the context table and the
// topics. Whatever passes the checks must not crash the library.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "help/ChmArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path =
        QDir::temp().filePath(QStringLiteral("fuzz-help-file-%1.chm").arg(QString::number(qint64(getpid()))));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    ChmArchive help;
    if (help.Open(path) == ChmStatus::Ok) {
        for (quint32 context : {1u, 2u}) {
            QString topic;
            if (help.TopicForContext(context, topic) == ChmStatus::Ok)
                help.ReadObject(topic);
        }
        for (const std::string& name : help.ObjectNames())
            help.ReadObject(QString::fromStdString(name));
    }
    return 0;
}
