// The compiled help file and the game's own help window: the context numbers
// lead to the right rules, and a missing, damaged or replaced file gives a
// notice in the player's language instead of a topic; so does anything in the
// file's place that is not a plain file of sane size, without blocking.
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include "help/ChmArchive.h"
#include "help/HelpWindow.h"
#include "settings/Globals.h"
#include "tests/robust/Watchdog.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString kGermanHeading = QStringLiteral("Die Spielregeln von Tangrix");
const QString kEnglishHeading = QStringLiteral("The rules of Tangrix");

QByteArray BuiltHelpFile()
{
    QFile file(QStringLiteral(TANGRIX_HELP_FILE));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The document keeps a picture it has decoded as a pixmap or image.
QImage ImageOf(const QVariant& resource)
{
    switch (resource.userType()) {
    case QMetaType::QPixmap: return resource.value<QPixmap>().toImage();
    case QMetaType::QImage: return resource.value<QImage>();
    default: return QImage::fromData(resource.toByteArray());
    }
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;
    QString copy_;

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        QVERIFY2(!BuiltHelpFile().isEmpty(), "the build's help file is missing");
        copy_ = folder_.filePath(QStringLiteral("tngx.chm"));
    }
    void init()
    {
        // What a test put in the file's place goes first.
        QFile::remove(copy_);
        QDir(copy_).removeRecursively();
        QVERIFY(Write(copy_, BuiltHelpFile()));
        Tongue = 2;
    }

    void fileMapsContextsToTopics()
    {
        ChmArchive file;
        QCOMPARE(file.Open(copy_), ChmStatus::Ok);
        QString topic;
        QCOMPARE(file.TopicForContext(1, topic), ChmStatus::Ok);
        QCOMPARE(topic, QStringLiteral("/de.html"));
        QVERIFY(QString::fromUtf8(file.ReadObject(topic).value_or(QByteArray())).contains(kGermanHeading));
        QCOMPARE(file.TopicForContext(2, topic), ChmStatus::Ok);
        QCOMPARE(topic, QStringLiteral("/en.html"));
        QVERIFY(QString::fromUtf8(file.ReadObject(topic).value_or(QByteArray())).contains(kEnglishHeading));
        QCOMPARE(file.TopicForContext(0, topic), ChmStatus::NoSuchContext);
        QCOMPARE(file.TopicForContext(3, topic), ChmStatus::NoSuchContext);
        // Only listed objects are read: no way round the directory.
        QVERIFY(!file.ReadObject(QStringLiteral("/#IVB")));
        QVERIFY(!file.ReadObject(QStringLiteral("/fr.html")));
    }

    void windowShowsTopic_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("otherHeading");
        QTest::newRow("German") << 1 << kGermanHeading << kEnglishHeading;
        QTest::newRow("English") << 2 << kEnglishHeading << kGermanHeading;
    }
    void windowShowsTopic()
    {
        QFETCH(int, context);
        QFETCH(QString, heading);
        QFETCH(QString, otherHeading);
        HelpWindow window;
        window.ShowContext(copy_, quint32(context));
        QVERIFY(!window.ShowsNotice());
        QVERIFY2(window.toPlainText().contains(heading), qPrintable(window.toPlainText().left(200)));
        QVERIFY(!window.toPlainText().contains(otherHeading));
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("Tangrix")));
        // Pictures and the style sheet come out of the same file.
        const QVariant picture = window.document()->resource(QTextDocument::ImageResource,
                                                             QUrl(QStringLiteral("tngx:/board-start.png")));
        QVERIFY(!ImageOf(picture).isNull());
        const QVariant css = window.document()->resource(QTextDocument::StyleSheetResource,
                                                         QUrl(QStringLiteral("tngx:/rules.css")));
        QVERIFY(css.toString().contains(QStringLiteral("body")));
    }

    // The pictures of the board are drawn at twice their size, at 192 dots per
    // inch; the pages give their size in logical pixels. The window shows them
    // at that size with all the pixels its screen has: at 200 % every pixel of
    // the picture, at 100 % the picture smoothly halved. (The 200 % case runs
    // as test_help_viewer_200.)
    void picturesShownAtTheirSizeWithTheScreensPixels_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("start") << "board-start.png";
        QTest::newRow("match") << "board-match.png";
    }
    void picturesShownAtTheirSizeWithTheScreensPixels()
    {
        QFETCH(QString, picture);
        ChmArchive file;
        QCOMPARE(file.Open(copy_), ChmStatus::Ok);
        const QImage drawn = QImage::fromData(file.ReadObject(u'/' + picture).value_or(QByteArray()));
        QVERIFY(!drawn.isNull());
        QCOMPARE(drawn.dotsPerMeterX(), 2 * 3780);

        HelpWindow window;
        window.ShowContext(copy_, 2);
        const QImage shown = ImageOf(window.document()->resource(QTextDocument::ImageResource,
                                                                 QUrl(QStringLiteral("tngx:/") + picture)));
        const qreal screenRatio = window.devicePixelRatioF();
        QCOMPARE(shown.devicePixelRatio(), screenRatio);
        QCOMPARE(shown.deviceIndependentSize(), QSizeF(drawn.size()) / 2);
        if (screenRatio == 2) {
            QImage everyPixel = drawn.convertToFormat(shown.format());
            everyPixel.setDevicePixelRatio(2);
            QCOMPARE(shown, everyPixel);
        }

        // The size the page gives, which the platform's own help viewer goes by.
        QSizeF declared;
        for (QTextBlock block = window.document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
                if (format.isValid() && format.name() == picture)
                    declared = QSizeF(format.width(), format.height());
            }
        QCOMPARE(declared, shown.deviceIndependentSize());
    }

    // A click on the link to the other language's rules opens them in the window.
    void linkToTheOtherLanguage()
    {
        HelpWindow window;
        window.ShowContext(copy_, 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QTextCursor link = window.document()->find(QStringLiteral("English rules"));
        QVERIFY(!link.isNull());
        QTextCursor inside(window.document());
        inside.setPosition(link.selectionStart() + 3);
        const QPoint at = window.cursorRect(inside).center();
        QTest::mouseClick(window.viewport(), Qt::LeftButton, {}, at);
        QVERIFY2(window.toPlainText().contains(kEnglishHeading), qPrintable(window.source().toString()));
        QCOMPARE(window.source().toString(), QStringLiteral("tngx:/en.html"));
    }

    void noticeInsteadOfTopic_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("context");
        QTest::addColumn<int>("tongue");
        QTest::addColumn<QString>("notice");
        QTest::newRow("missing, German") << "missing" << 1 << 1 << "wurde nicht gefunden";
        QTest::newRow("missing, English") << "missing" << 2 << 2 << "was not found";
        QTest::newRow("unknown context, German") << "none" << 3 << 1 << "kein Thema mit der Nummer 3";
        QTest::newRow("unknown context, English") << "none" << 7 << 0 << "holds no topic number 7";
        QTest::newRow("cut to the header") << "cut:96" << 2 << 2 << "is damaged";
        QTest::newRow("cut in the middle") << "cut:half" << 1 << 1 << "ist beschädigt";
        QTest::newRow("last byte cut") << "cut:last" << 2 << 2 << "is damaged";
        QTest::newRow("empty file") << "cut:0" << 2 << 2 << "is damaged";
        QTest::newRow("not a help file") << "text" << 2 << 2 << "is damaged";
        QTest::newRow("directory offset altered") << "dir" << 2 << 2 << "is damaged";
        // Left to the CHM library, this one would crash it.
        QTest::newRow("decompressor version altered") << "lzx" << 2 << 2 << "is damaged";
        // Nothing that is not a plain file is opened in a way that could wait,
        // and nothing is read past the limit, whatever size is reported.
#ifdef Q_OS_UNIX // FIFOs and devices as files: POSIX only
        QTest::newRow("FIFO") << "fifo" << 2 << 2 << "is damaged";
        QTest::newRow("link to a FIFO") << "fifo-link" << 2 << 2 << "is damaged";
        QTest::newRow("link to an endless device") << "device" << 1 << 1 << "ist beschädigt";
#endif
        QTest::newRow("directory") << "directory" << 2 << 2 << "is damaged";
        QTest::newRow("sparse, far too large") << "sparse" << 2 << 2 << "is damaged";
    }
    void noticeInsteadOfTopic()
    {
        QFETCH(QString, fault);
        QFETCH(int, context);
        QFETCH(int, tongue);
        QFETCH(QString, notice);
        QByteArray bytes = BuiltHelpFile();
        if (fault == u"missing")
            QVERIFY(QFile::remove(copy_));
        else if (fault == u"text")
            QVERIFY(Write(copy_, "<html>not compiled</html>"));
        else if (fault == u"dir") {
            bytes[0x49] = char(0x7f);
            QVERIFY(Write(copy_, bytes));
        } else if (fault == u"lzx") {
            const qsizetype control = bytes.indexOf("LZXC");
            QVERIFY(control > 0);
            bytes[control + 4] = char(bytes[control + 4] ^ 0xff);
            QVERIFY(Write(copy_, bytes));
#ifdef Q_OS_UNIX
        } else if (fault == u"fifo" || fault == u"fifo-link") {
            QVERIFY(QFile::remove(copy_));
            const QString fifo = fault == u"fifo" ? copy_ : folder_.filePath(QStringLiteral("pipe"));
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            if (fifo != copy_)
                QVERIFY(QFile::link(fifo, copy_));
        } else if (fault == u"device") {
            QVERIFY(QFile::remove(copy_));
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), copy_));
#endif
        } else if (fault == u"directory") {
            QVERIFY(QFile::remove(copy_));
            QVERIFY(QDir().mkdir(copy_));
        } else if (fault == u"sparse") {
            // A good help file at its start, the rest empty.
            QFile file(copy_);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(qint64(30) << 30));
        } else if (fault.startsWith(u"cut:")) {
            const QString at = fault.mid(4);
            const qsizetype keep = at == u"half" ? bytes.size() / 2 : at == u"last" ? bytes.size() - 1 : at.toInt();
            QVERIFY(Write(copy_, bytes.left(keep)));
        }
        Tongue = tongue;
        HelpWindow window;
        {
            const Watchdog watchdog(qPrintable(QStringLiteral("help with a file that is %1").arg(fault)));
            window.ShowContext(copy_, quint32(context));
        }
        QVERIFY(window.ShowsNotice());
        QVERIFY2(window.toPlainText().contains(notice), qPrintable(window.toPlainText()));
        QVERIFY(window.toPlainText().contains(copy_));
    }

    // The file is read afresh for every request: a file replaced while the
    // window is open is noticed, and a repaired one is shown again.
    void replacedFileIsReadAgain()
    {
        HelpWindow window;
        window.ShowContext(copy_, 2);
        QVERIFY(!window.ShowsNotice());
        QVERIFY(Write(copy_, BuiltHelpFile().left(3000)));
        window.ShowContext(copy_, 2);
        QVERIFY(window.ShowsNotice());
        QVERIFY(Write(copy_, BuiltHelpFile()));
        window.ShowContext(copy_, 2);
        QVERIFY(!window.ShowsNotice());
        QVERIFY(window.toPlainText().contains(kEnglishHeading));
    }
};

QTEST_MAIN(TestHelpViewer)
#include "test_help_viewer.moc"
