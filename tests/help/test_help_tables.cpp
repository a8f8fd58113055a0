// The reader of the context table and the container checks, over raw bytes:
// the parts that see whatever a replaced help file holds before the CHM
// library does.
#include <QFile>
#include <QtTest>
#include <string>
#include <vector>

#include "help/ChmContainerCheck.h"
#include "help/ChmContextTable.h"

#include <chm_lib.h>

namespace {

using Bytes = std::string;

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    if (bytes.size() < at + 4)
        bytes.resize(at + 4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xff);
}

void PutU64(Bytes& bytes, std::size_t at, std::uint64_t value)
{
    PutU32(bytes, at, std::uint32_t(value));
    PutU32(bytes, at + 4, std::uint32_t(value >> 32));
}

// An #IVB object from (context, offset) pairs; `declared` overrides the byte count.
Bytes Ivb(std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs, long declared = -1)
{
    Bytes ivb;
    PutU32(ivb, 0, declared < 0 ? std::uint32_t(pairs.size() * 8) : std::uint32_t(declared));
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        PutU32(ivb, 4 + 8 * i, pairs[i].first);
        PutU32(ivb, 8 + 8 * i, pairs[i].second);
    }
    return ivb;
}

// The strings table as the compiler writes it: a leading NUL, then the paths.
const Bytes kStrings = Bytes("\0/home/build/help/chm/de.html\0/home/build/help/chm/en.html\0", 60);
constexpr std::uint32_t kGermanOffset = 1;
constexpr std::uint32_t kEnglishOffset = 30;

const std::vector<std::string> kObjects = {"/de.html", "/en.html", "/rules.css", "/board-start.png"};

QString Describe(const std::optional<std::vector<ChmContextEntry>>& table)
{
    if (!table)
        return QStringLiteral("damaged");
    QStringList parts;
    for (const ChmContextEntry& e : *table)
        parts << QStringLiteral("%1=%2").arg(e.context).arg(QString::fromStdString(e.topic));
    return parts.join(u' ');
}

// Every object of a help file, the special tables included, each as its name,
// a line break and its bytes.
int CollectObject(chmFile* file, chmUnitInfo* unit, void* context)
{
    auto& contents = *static_cast<QList<QByteArray>*>(context);
    QByteArray bytes(qsizetype(unit->length), '\0');
    const LONGINT64 read = chm_retrieve_object(file, unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                               LONGINT64(unit->length));
    bytes.resize(read > 0 ? qsizetype(read) : 0);
    QByteArray name(unit->path);
    contents << (name.startsWith('/') ? name.mid(1) : name) + '\n' + bytes;
    return CHM_ENUMERATOR_CONTINUE;
}

Bytes BuiltHelpFile()
{
    QFile file(QStringLiteral(TANGRIX_HELP_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

class TestHelpTables : public QObject {
    Q_OBJECT
private slots:
    void contextTable_data()
    {
        QTest::addColumn<QByteArray>("ivb");
        QTest::addColumn<QByteArray>("strings");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const Bytes& ivb, const Bytes& strings, const char* expected) {
            QTest::newRow(name) << QByteArray(ivb.data(), qsizetype(ivb.size()))
                                << QByteArray(strings.data(), qsizetype(strings.size())) << QString::fromUtf8(expected);
        };
        row("both topics", Ivb({{1, kGermanOffset}, {2, kEnglishOffset}}), kStrings, "1=/de.html 2=/en.html");
        row("empty table", Ivb({}), kStrings, "");
        row("first of a repeated number wins", Ivb({{1, kEnglishOffset}, {1, kGermanOffset}}), kStrings,
            "1=/en.html");
        row("topic the file lacks", Ivb({{1, kGermanOffset}}), Bytes("\0/build/missing.html\0", 21), "1=");
        row("object too short for its count", Bytes("\x10\0\0", 3), kStrings, "damaged");
        row("count past the end", Ivb({{1, kGermanOffset}}, 16), kStrings, "damaged");
        row("count not whole pairs", Ivb({{1, kGermanOffset}}, 7), kStrings, "damaged");
        row("count near 4 GiB", Ivb({{1, kGermanOffset}}, 0xfffffff8L), kStrings, "damaged");
        row("offset past the strings", Ivb({{1, 60}}), kStrings, "damaged");
        row("offset far out", Ivb({{1, 0xffffffffu}}), kStrings, "damaged");
        row("path without terminator", Ivb({{1, 1}}), Bytes("\0/de.html", 9), "damaged");
        row("no strings at all", Ivb({{1, 0}}), Bytes(), "damaged");
    }
    void contextTable()
    {
        QFETCH(QByteArray, ivb);
        QFETCH(QByteArray, strings);
        QFETCH(QString, expected);
        const auto table = ReadContextTable(std::string_view(ivb.constData(), std::size_t(ivb.size())),
                                            std::string_view(strings.constData(), std::size_t(strings.size())),
                                            kObjects);
        QCOMPARE(Describe(table), expected);
    }

    void topicPath_data()
    {
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<QString>("object");
        QTest::newRow("built on Linux") << "/home/someone/tangrix/build/help/chm/de.html" << "/de.html";
        QTest::newRow("built on Windows") << "C:\\Build\\Tangrix\\EN.HTML" << "/en.html";
        QTest::newRow("plain name") << "rules.css" << "/rules.css";
        QTest::newRow("already an object") << "/board-start.png" << "/board-start.png";
        QTest::newRow("folder named like an object") << "/de.html/x.html" << "";
        QTest::newRow("unknown topic") << "/build/fr.html" << "";
        QTest::newRow("only folders") << "/build/chm/" << "";
        QTest::newRow("empty") << "" << "";
    }
    void topicPath()
    {
        QFETCH(QString, recorded);
        QFETCH(QString, object);
        QCOMPARE(QString::fromStdString(ResolveTopicObject(recorded.toStdString(), kObjects)), object);
    }

    // The file the build made, and damaged copies of it: headers, directory
    // chunks and the decompressor's parameters as the directory locates them.
    void container_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("plausible");
        QTest::newRow("as built") << "" << true;
        QTest::newRow("wrong signature") << "signature" << false;
        QTest::newRow("unknown version") << "version" << false;
        QTest::newRow("directory beyond the end") << "dir offset" << false;
        QTest::newRow("directory length overflowing") << "dir length" << false;
        QTest::newRow("data beyond the end") << "data offset" << false;
        QTest::newRow("more directory chunks than fit") << "chunk count" << false;
        QTest::newRow("listing chunk out of range") << "first listing" << false;
        QTest::newRow("cut inside the header") << "cut header" << false;
        QTest::newRow("cut inside the directory") << "cut directory" << false;
        QTest::newRow("empty") << "empty" << false;
        QTest::newRow("unknown chunk") << "chunk signature" << false;
        QTest::newRow("free space larger than the chunk") << "free space" << false;
        QTest::newRow("listing chain loops") << "loop" << false;
        QTest::newRow("name running past the chunk") << "name length" << false;
        QTest::newRow("control data listed as compressed") << "control space" << false;
        QTest::newRow("control data version altered") << "control version" << false;
        QTest::newRow("frame length altered") << "frame length" << false;
        QTest::newRow("frame offsets out of order") << "frame order" << false;
    }
    void container()
    {
        QFETCH(QString, damage);
        QFETCH(bool, plausible);
        Bytes file = BuiltHelpFile();
        QVERIFY2(file.size() > 0x200, "the build's help file is missing");
        std::vector<ChmDirectoryEntry> entries;
        QVERIFY(ChmDirectoryPlausible(file, entries));
        auto located = [&](std::string_view name) {
            for (const ChmDirectoryEntry& e : entries)
                if (e.name == name)
                    return e;
            return ChmDirectoryEntry{};
        };
        QVERIFY(located("/de.html").length > 0);
        const ChmDirectoryEntry resetEntry = located(
            "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable");
        QVERIFY(resetEntry.length >= 0x30);
        const std::string_view controlName = "::DataSpace/Storage/MSCompressed/ControlData";
        const std::size_t dir = std::size_t(std::uint8_t(file[0x48])) | std::size_t(std::uint8_t(file[0x49])) << 8;
        const std::size_t chunk = dir + 0x54;
        const std::size_t data = std::size_t(std::uint8_t(file[0x58])) | std::size_t(std::uint8_t(file[0x59])) << 8;
        const std::size_t control = file.find("LZXC") - 4;
        const std::size_t reset = data + std::size_t(resetEntry.start);

        if (damage == u"signature") file[0] = 'X';
        else if (damage == u"version") PutU32(file, 4, 7);
        else if (damage == u"dir offset") PutU64(file, 0x48, file.size() + 1);
        else if (damage == u"dir length") PutU64(file, 0x50, ~std::uint64_t(0) - 8);
        else if (damage == u"data offset") PutU64(file, 0x58, file.size() + 1);
        else if (damage == u"chunk count") PutU32(file, dir + 0x2c, 0x10000);
        else if (damage == u"first listing") PutU32(file, dir + 0x20, 5);
        else if (damage == u"cut header") file.resize(0x40);
        else if (damage == u"cut directory") file.resize(dir + 0x80);
        else if (damage == u"empty") file.clear();
        else if (damage == u"chunk signature") file[chunk + 3] = 'X';
        else if (damage == u"free space") PutU32(file, chunk + 4, 0x2000);
        else if (damage == u"loop") PutU32(file, chunk + 0x10, 0);
        else if (damage == u"name length") file[chunk + 0x14] = char(0xff);
        else if (damage == u"control space") file[file.find(controlName) + controlName.size()] = 1;
        else if (damage == u"control version") PutU32(file, control + 8, 3);
        else if (damage == u"frame length") PutU64(file, reset + 32, 0);
        else if (damage == u"frame order") PutU64(file, reset + 0x28, 0x7fffffff);
        QCOMPARE(ChmContainerPlausible(file), plausible);
    }

    // The decompressor's parameters: values the CHM library would crash on
    // (an odd window, no windows per reset) must be refused.
    void lzxControlData_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plausible");
        auto control = [](const char* signature, std::uint32_t version, std::uint32_t reset, std::uint32_t window,
                          std::uint32_t perReset) {
            Bytes b;
            PutU32(b, 0, 6);
            b.replace(4, 4, signature, 4);
            PutU32(b, 8, version);
            PutU32(b, 12, reset);
            PutU32(b, 16, window);
            PutU32(b, 20, perReset);
            PutU32(b, 24, 0);
            return QByteArray(b.data(), qsizetype(b.size()));
        };
        QTest::newRow("as the compiler writes it") << control("LZXC", 2, 2, 2, 1) << true;
        QTest::newRow("version 1 in bytes") << control("LZXC", 1, 0x10000, 0x10000, 1) << true;
        QTest::newRow("largest window") << control("LZXC", 2, 64, 64, 1) << true;
        QTest::newRow("unknown version") << control("LZXC", 3, 2, 2, 1) << false;
        QTest::newRow("window too small") << control("LZXC", 1, 2, 2, 1) << false;
        QTest::newRow("window too large") << control("LZXC", 2, 128, 128, 1) << false;
        QTest::newRow("window not a power of two") << control("LZXC", 1, 0x18000, 0x18000, 1) << false;
        QTest::newRow("no window") << control("LZXC", 2, 2, 0, 1) << false;
        QTest::newRow("reset not whole half windows") << control("LZXC", 1, 0x10001, 0x10000, 1) << false;
        QTest::newRow("reset overflowing") << control("LZXC", 2, 0x20000, 2, 1) << false;
        QTest::newRow("no windows per reset") << control("LZXC", 2, 2, 2, 0) << false;
        QTest::newRow("wrong signature") << control("LZXD", 2, 2, 2, 1) << false;
        QTest::newRow("too short") << control("LZXC", 2, 2, 2, 1).left(20) << false;
    }
    void lzxControlData()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plausible);
        QCOMPARE(LzxControlDataPlausible(std::string_view(bytes.constData(), std::size_t(bytes.size()))), plausible);
    }

    void lzxResetTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plausible");
        auto table = [](std::uint32_t version, std::uint32_t blocks, std::uint32_t offset, std::uint64_t blockLength,
                        std::size_t size) {
            Bytes b(size, '\0');
            PutU32(b, 0, version);
            PutU32(b, 4, blocks);
            PutU32(b, 12, offset);
            PutU64(b, 32, blockLength);
            b.resize(size);
            return QByteArray(b.data(), qsizetype(b.size()));
        };
        QTest::newRow("one block") << table(2, 1, 0x28, 0x8000, 0x30) << true;
        QTest::newRow("three blocks") << table(2, 3, 0x28, 0x8000, 0x40) << true;
        QTest::newRow("unknown version") << table(3, 1, 0x28, 0x8000, 0x30) << false;
        QTest::newRow("zero block length") << table(2, 1, 0x28, 0, 0x30) << false;
        QTest::newRow("other block length") << table(2, 1, 0x28, 0x10000, 0x30) << false;
        QTest::newRow("offsets past the end") << table(2, 2, 0x28, 0x8000, 0x30) << false;
        QTest::newRow("table offset past the end") << table(2, 0, 0x40, 0x8000, 0x30) << false;
        QTest::newRow("table inside the header") << table(2, 1, 0x10, 0x8000, 0x30) << false;
        QTest::newRow("block count near 4 G") << table(2, 0xffffffffu, 0x28, 0x8000, 0x30) << false;
        QTest::newRow("too short") << table(2, 0, 0x28, 0x8000, 0x20) << false;
    }
    void lzxResetTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plausible);
        QCOMPARE(LzxResetTablePlausible(std::string_view(bytes.constData(), std::size_t(bytes.size()))), plausible);
    }

    // The built file names its topics by their place inside it, so that the
    // system's viewer finds them on the player's machine; no folder of the
    // build machine is in it, neither as written nor inside an object, the
    // special tables included (the context map is one of them).
    void builtFileHoldsNoPathOfTheBuildMachine()
    {
        QList<QByteArray> contents{QByteArray::fromStdString(BuiltHelpFile())};
        chmFile* file = chm_open(TANGRIX_HELP_FILE);
        QVERIFY(file);
        chm_enumerate(file, CHM_ENUMERATE_ALL, &CollectObject, &contents);
        chm_close(file);
        QVERIFY(contents.size() > 10);
        for (const char* folder : {TANGRIX_BUILD_DIR, TANGRIX_SOURCE_DIR})
            for (const QByteArray& bytes : contents)
                QVERIFY2(!bytes.contains(folder), folder);

        // The context map's topics, as the viewer reads them.
        QByteArray strings;
        for (const QByteArray& bytes : contents)
            if (bytes.startsWith("#STRINGS\n"))
                strings = bytes.mid(9);
        QCOMPARE(strings.left(19), QByteArray("\0/de.html\0/en.html\0", 19));
    }
};

QTEST_GUILESS_MAIN(TestHelpTables)
#include "test_help_tables.moc"
