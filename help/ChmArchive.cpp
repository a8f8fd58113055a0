#include "help/ChmArchive.h"

#include <QFile>
#include <algorithm>

#include <chm_lib.h>

#include "help/ChmContainerCheck.h"
#include "settings/BoundedFile.h"

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

enum class Retrieval { Ok, Absent, Unreadable };

// Reads a whole object into `bytes`. An object that the directory lists but
// that cannot be read whole, or that claims more room than it can have, is
// unreadable.
Retrieval Retrieve(chmFile* handle, quint64 fileSize, const QByteArray& name, QByteArray& bytes)
{
    chmUnitInfo unit{};
    if (chm_resolve_object(handle, name.constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return Retrieval::Absent;
    if (unit.length > quint64(ChmArchive::kMaxObjectBytes))
        return Retrieval::Unreadable;
    // Uncompressed objects are stored as they are, so they must lie inside the file.
    if (unit.space == CHM_UNCOMPRESSED && (unit.start > fileSize || unit.length > fileSize - unit.start))
        return Retrieval::Unreadable;
    bytes = QByteArray(qsizetype(unit.length), Qt::Uninitialized);
    if (unit.length == 0)
        return Retrieval::Ok;
    const LONGINT64 got = chm_retrieve_object(handle, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              LONGINT64(unit.length));
    return got == LONGINT64(unit.length) ? Retrieval::Ok : Retrieval::Unreadable;
}

} // namespace

ChmArchive::~ChmArchive()
{
    Close();
}

void ChmArchive::Close()
{
    if (handle_)
        chm_close(handle_);
    handle_ = nullptr;
    checkedCopy_.reset();
    fileSize_ = 0;
    objectNames_.clear();
    contexts_.clear();
}

ChmStatus ChmArchive::Open(const QString& path)
{
    Close();
    // Read whole and bounded while reading: a link to a device or a FIFO in
    // the file's place is refused without waiting, and a size reported up
    // front proves nothing.
    const BoundedRead read = ReadRegularFile(path, kMaxFileBytes);
    if (!read.data)
        return read.refusal == ReadRefusal::Missing ? ChmStatus::Missing : ChmStatus::Damaged;
    const QByteArray& whole = *read.data;
    // The CHM library trusts the container's structures; they are checked here
    // first, as a damaged file could crash it.
    if (!ChmContainerPlausible(std::string_view(whole.constData(), std::size_t(whole.size()))))
        return ChmStatus::Damaged;
    fileSize_ = quint64(whole.size());

    // The library reads a private copy of exactly the bytes checked above, so
    // a file replaced in the meantime cannot slip past the checks.
    checkedCopy_ = std::make_unique<QTemporaryFile>();
    if (!checkedCopy_->open() || checkedCopy_->write(whole) != whole.size() || !checkedCopy_->flush()) {
        Close();
        return ChmStatus::Damaged;
    }
    handle_ = chm_open(QFile::encodeName(checkedCopy_->fileName()).constData());
    if (!handle_) {
        Close();
        return ChmStatus::Damaged;
    }
    if (chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectObjectName, &objectNames_)
        == CHM_ENUMERATOR_FAILURE) {
        Close();
        return ChmStatus::Damaged;
    }

    // A file without a context table is readable but holds no numbered topics.
    QByteArray ivb;
    QByteArray strings;
    const Retrieval ivbRead = Retrieve(handle_, fileSize_, QByteArrayLiteral("/#IVB"), ivb);
    if (ivbRead == Retrieval::Absent)
        return ChmStatus::Ok;
    if (ivbRead == Retrieval::Unreadable
        || Retrieve(handle_, fileSize_, QByteArrayLiteral("/#STRINGS"), strings) != Retrieval::Ok) {
        Close();
        return ChmStatus::Damaged;
    }
    auto table = ReadContextTable(std::string_view(ivb.constData(), std::size_t(ivb.size())),
                                  std::string_view(strings.constData(), std::size_t(strings.size())),
                                  objectNames_);
    if (!table) {
        Close();
        return ChmStatus::Damaged;
    }
    contexts_ = std::move(*table);
    return ChmStatus::Ok;
}

std::optional<QByteArray> ChmArchive::ReadObject(const QString& name) const
{
    if (!handle_)
        return std::nullopt;
    // Only listed objects are read, under the name the file gives them: this
    // keeps the special tables and over-long names away from the library, and
    // links may differ from the stored names in case.
    const auto listed = std::find_if(objectNames_.begin(), objectNames_.end(), [&](const std::string& object) {
        return QString::fromStdString(object).compare(name, Qt::CaseInsensitive) == 0;
    });
    if (listed == objectNames_.end())
        return std::nullopt;
    QByteArray bytes;
    if (Retrieve(handle_, fileSize_, QByteArray::fromStdString(*listed), bytes) != Retrieval::Ok)
        return std::nullopt;
    return bytes;
}

ChmStatus ChmArchive::TopicForContext(quint32 context, QString& topic) const
{
    if (!handle_)
        return ChmStatus::Missing;
    for (const ChmContextEntry& entry : contexts_) {
        if (entry.context == context && !entry.topic.empty()) {
            topic = QString::fromStdString(entry.topic);
            return ChmStatus::Ok;
        }
    }
    return ChmStatus::NoSuchContext;
}
