// Checks a freshly compiled help file, because the compiler reports success
// even when it wrote nothing usable. Usage:
//   tngx_chmcheck <file.chm> <context>=<object> ...
// e.g. tngx_chmcheck tngx.chm 1=/de.html 2=/en.html
// Every context number must lead to the named object, and that object must
// be readable and not empty.
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "help/ChmArchive.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tngx_chmcheck <file.chm> <context>=<object> ...\n");
        return 2;
    }
    ChmArchive file;
    const ChmStatus opened = file.Open(args[1]);
    if (opened != ChmStatus::Ok) {
        std::fprintf(stderr, "tngx_chmcheck: %s is %s\n", qPrintable(args[1]),
                     opened == ChmStatus::Missing ? "missing" : "not a readable help file");
        return 1;
    }
    int failures = 0;
    for (const QString& pair : args.mid(2)) {
        const qsizetype split = pair.indexOf(u'=');
        bool isNumber = false;
        const quint32 context = pair.left(split).toUInt(&isNumber);
        const QString expected = pair.mid(split + 1);
        if (split <= 0 || !isNumber) {
            std::fprintf(stderr, "tngx_chmcheck: bad argument %s\n", qPrintable(pair));
            return 2;
        }
        QString topic;
        if (file.TopicForContext(context, topic) != ChmStatus::Ok) {
            std::fprintf(stderr, "tngx_chmcheck: context %u is missing\n", context);
            ++failures;
            continue;
        }
        const auto bytes = file.ReadObject(topic);
        if (topic.compare(expected, Qt::CaseInsensitive) != 0 || !bytes || bytes->isEmpty()) {
            std::fprintf(stderr, "tngx_chmcheck: context %u leads to %s, expected readable %s\n", context,
                         qPrintable(topic), qPrintable(expected));
            ++failures;
            continue;
        }
        std::printf("context %u -> %s (%lld bytes)\n", context, qPrintable(topic), static_cast<long long>(bytes->size()));
    }
    return failures == 0 ? 0 : 1;
}
