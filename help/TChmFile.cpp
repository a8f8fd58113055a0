#include "help/TChmFile.h"

#include <QFile>
#include <algorithm>

#include <chm_lib.h>

namespace {

// The CHM library lists every object through this callback; only normal files
// can be topics, images or style sheets.
int CollectObjectName(chmFile*, chmUnitInfo* unit, void* context)
{
    auto* names = static_cast<std::vector<std::string>*>(context);
    // A directory listing with more entries than this is not ours.
    constexpr std::size_t kMaxObjects = 100000;
    if (names->size() >= kMaxObjects)
        return CHM_ENUMERATOR_FAILURE;
    names->emplace_back(unit->path, strnlen(unit->path, CHM_MAX_PATHLEN));
    return CHM_ENUMERATOR_CONTINUE;
}

std::optional<QByteArray> Retrieve(chmFile* handle, quint64 fileSize, const QByteArray& name)
{
    chmUnitInfo unit{};
    if (chm_resolve_object(handle, name.constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (unit.length > quint64(TChmFile::kMaxObjectBytes))
        return std::nullopt;
    // Uncompressed objects are stored as they are, so they must lie inside the file.
    if (unit.space == CHM_UNCOMPRESSED && (unit.start > fileSize || unit.length > fileSize - unit.start))
        return std::nullopt;
    QByteArray bytes(qsizetype(unit.length), Qt::Uninitialized);
    if (unit.length == 0)
        return bytes;
    const LONGINT64 got = chm_retrieve_object(handle, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              LONGINT64(unit.length));
    if (got != LONGINT64(unit.length))
        return std::nullopt;
    return bytes;
}

} // namespace

TChmFile::~TChmFile()
{
    Close();
}

void TChmFile::Close()
{
    if (FHandle)
        chm_close(FHandle);
    FHandle = nullptr;
    FFileSize = 0;
    FObjectNames.clear();
    FContexts.clear();
}

TChmStatus TChmFile::Open(const QString& path)
{
    Close();
    QFile file(path);
    if (!file.exists())
        return TChmStatus::Missing;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return TChmStatus::Damaged;
    const QByteArray whole = file.readAll();
    if (whole.size() != file.size()
        || !ChmHeadersPlausible(std::string_view(whole.constData(), std::size_t(whole.size()))))
        return TChmStatus::Damaged;
    FFileSize = quint64(whole.size());

    FHandle = chm_open(QFile::encodeName(path).constData());
    if (!FHandle) {
        Close();
        return TChmStatus::Damaged;
    }
    if (chm_enumerate(FHandle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectObjectName, &FObjectNames)
        == CHM_ENUMERATOR_FAILURE) {
        Close();
        return TChmStatus::Damaged;
    }

    // A file without a context table is readable but holds no numbered topics.
    const std::optional<QByteArray> ivb = ReadSpecialObject("/#IVB");
    if (!ivb)
        return TChmStatus::Ok;
    const std::optional<QByteArray> strings = ReadSpecialObject("/#STRINGS");
    if (!strings) {
        Close();
        return TChmStatus::Damaged;
    }
    auto table = ReadContextTable(std::string_view(ivb->constData(), std::size_t(ivb->size())),
                                  std::string_view(strings->constData(), std::size_t(strings->size())),
                                  FObjectNames);
    if (!table) {
        Close();
        return TChmStatus::Damaged;
    }
    FContexts = std::move(*table);
    return TChmStatus::Ok;
}

std::optional<QByteArray> TChmFile::ReadSpecialObject(const char* name) const
{
    return Retrieve(FHandle, FFileSize, QByteArray(name));
}

std::optional<QByteArray> TChmFile::ReadObject(const QString& name) const
{
    if (!FHandle)
        return std::nullopt;
    // Only listed objects are read, under the name the file gives them: this
    // keeps the special tables and over-long names away from the library, and
    // links may differ from the stored names in case.
    const auto listed = std::find_if(FObjectNames.begin(), FObjectNames.end(), [&](const std::string& object) {
        return QString::fromStdString(object).compare(name, Qt::CaseInsensitive) == 0;
    });
    if (listed == FObjectNames.end())
        return std::nullopt;
    return Retrieve(FHandle, FFileSize, QByteArray::fromStdString(*listed));
}

TChmStatus TChmFile::TopicForContext(quint32 context, QString& topic) const
{
    if (!FHandle)
        return TChmStatus::Missing;
    for (const ChmContextEntry& entry : FContexts) {
        if (entry.context == context && !entry.topic.empty()) {
            topic = QString::fromStdString(entry.topic);
            return TChmStatus::Ok;
        }
    }
    return TChmStatus::NoSuchContext;
}
