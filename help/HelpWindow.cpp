#include "help/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStringDecoder>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "settings/Globals.h"

namespace {

QString NoticeFor(ChmStatus status, const QString& helpFile, quint32 context)
{
    switch (status) {
    case ChmStatus::Missing:
        return Lang(QStringLiteral("Die Hilfedatei „%1“ wurde nicht gefunden."),
                    QStringLiteral("The help file \"%1\" was not found."))
            .arg(helpFile);
    case ChmStatus::NoSuchContext:
        return Lang(QStringLiteral("Die Hilfedatei „%1“ enthält kein Thema mit der Nummer %2."),
                    QStringLiteral("The help file \"%1\" holds no topic number %2."))
            .arg(helpFile)
            .arg(context);
    case ChmStatus::Damaged:
    case ChmStatus::Ok:
        break;
    }
    return Lang(QStringLiteral("Die Hilfedatei „%1“ ist beschädigt und kann nicht gelesen werden."),
                QStringLiteral("The help file \"%1\" is damaged and cannot be read."))
        .arg(helpFile);
}

// Pages say their encoding in a meta tag; without one they are taken as UTF-8.
QString DecodePage(const QByteArray& bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

// A picture may be drawn at more pixels than it is meant to be seen at, and
// says so by its resolution: at 192 dots per inch it is seen at half its
// pixels, like a picture of 96 at all of them. It is scaled smoothly to this
// window's device pixels, so that it is sharp at 200 % and not blocky at
// 100 %, and shown at its logical size.
QVariant PictureFor(const QByteArray& bytes, qreal windowRatio)
{
    QImage picture = QImage::fromData(bytes);
    if (picture.isNull())
        return bytes;
    constexpr qreal dotsPerMeterAt96 = 3780;
    const qreal ownRatio = std::max<qreal>(1, picture.dotsPerMeterX() / dotsPerMeterAt96);
    const QSize device = (QSizeF(picture.size()) / ownRatio * windowRatio).toSize();
    if (device != picture.size())
        picture = picture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(windowRatio);
    return picture;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    // A window that belongs to another, as the dialogs do: X11 keeps only
    // such windows over the window they belong to (WM_TRANSIENT_FOR).
    setWindowFlags(Qt::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    // Links are followed here: Qt would take the file's own scheme for an
    // outside address and pass it to the desktop.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpWindow::FollowLink);
    resize(680, 600);
    connect(this, &QTextBrowser::sourceChanged, this, [this] {
        if (!showsNotice_ && !documentTitle().isEmpty())
            setWindowTitle(documentTitle());
    });

    // In a strip above the page, so that it never covers the text.
    closeButton_ = new QPushButton(this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));
    closeButton_->setFocusPolicy(Qt::TabFocus);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    // The scroll bar comes and goes as the page is laid out.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &HelpWindow::PlaceCloseButton);
    SetUpCloseButton();
}

void HelpWindow::SetUpCloseButton()
{
    closeButton_->setText(Lang(QStringLiteral("Schließen"), QStringLiteral("Close")));
    closeButton_->adjustSize();
    const int strip = closeButton_->height() + 2 * CloseButtonGap;
    if (viewportMargins().top() != strip)
        setViewportMargins(0, strip, 0, 0);
    PlaceCloseButton();
}

void HelpWindow::PlaceCloseButton()
{
    if (!closeButton_)
        return;
    // Right-aligned in the strip, left of the place where the vertical scroll
    // bar runs up beside it, whether the bar shows yet or not: it comes and
    // goes as the page is laid out, and the button must never lie under it.
    const QRect inside = contentsRect();
    const QScrollBar* bar = verticalScrollBar();
    const int barWidth = std::max(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar),
                                  bar->isVisible() ? bar->width() : 0);
    closeButton_->move(inside.right() - barWidth - CloseButtonGap - closeButton_->width() + 1,
                       inside.top() + CloseButtonGap);
}

bool HelpWindow::viewportEvent(QEvent* event)
{
    // After the page has been laid out for the new size, which may have
    // brought the scroll bar or taken it away.
    const bool handled = QTextBrowser::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        PlaceCloseButton();
    return handled;
}

void HelpWindow::resizeEvent(QResizeEvent* event)
{
    QTextBrowser::resizeEvent(event);
    PlaceCloseButton();
}

void HelpWindow::changeEvent(QEvent* event)
{
    QTextBrowser::changeEvent(event);
    // A larger font or another style makes the button larger: the strip grows with it.
    // (Also sent while the window is being made, before the button exists.)
    if (closeButton_ && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        SetUpCloseButton();
}

void HelpWindow::showEvent(QShowEvent* event)
{
    // Polished by now with the style and font it is shown with.
    SetUpCloseButton();
    QTextBrowser::showEvent(event);
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    emit Closing();
    QTextBrowser::closeEvent(event);
}

namespace {
// The tops of the page's headings, in page pixels.
std::vector<qreal> HeadingTops(QTextDocument& page)
{
    std::vector<qreal> tops;
    QAbstractTextDocumentLayout* layout = page.documentLayout();
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0)
            tops.push_back(layout->blockBoundingRect(block).top());
    return tops;
}
} // namespace

HelpWindow::SectionPlace HelpWindow::ReadingPlace()
{
    const std::vector<qreal> tops = HeadingTops(*document());
    const qreal y = verticalScrollBar()->value();
    SectionPlace place;
    // The heading at or above the top of the view, and how far into its section.
    while (place.heading + 1 < int(tops.size()) && tops[size_t(place.heading + 1)] <= y + 1)
        ++place.heading;
    const qreal start = place.heading < 0 ? 0 : tops[size_t(place.heading)];
    const qreal end = place.heading + 1 < int(tops.size()) ? tops[size_t(place.heading + 1)]
                                                            : document()->documentLayout()->documentSize().height();
    place.within = end > start ? std::clamp((y - start) / (end - start), 0.0, 1.0) : 0;
    return place;
}

void HelpWindow::GoTo(const SectionPlace& place)
{
    const std::vector<qreal> tops = HeadingTops(*document());
    if (place.heading >= int(tops.size()))
        return;
    const qreal start = place.heading < 0 ? 0 : tops[size_t(place.heading)];
    const qreal end = place.heading + 1 < int(tops.size()) ? tops[size_t(place.heading + 1)]
                                                            : document()->documentLayout()->documentSize().height();
    verticalScrollBar()->setValue(qRound(start + place.within * (end - start)));
}

void HelpWindow::ShowContext(const QString& helpFile, quint32 context)
{
    // The other language's page has the same sections in the same order: a
    // reader who switches stays in the section being read.
    std::optional<SectionPlace> reading;
    if (context_ != 0 && context_ != context && !showsNotice_)
        reading = ReadingPlace();
    context_ = context;
    SetUpCloseButton();
    ChmStatus status = file_.Open(helpFile);
    QString topic;
    if (status == ChmStatus::Ok)
        status = file_.TopicForContext(context, topic);
    if (status == ChmStatus::Ok && !file_.ReadObject(topic))
        status = ChmStatus::Damaged;
    if (status != ChmStatus::Ok) {
        file_.Close();
        ShowNotice(NoticeFor(status, helpFile, context));
        return;
    }

    showsNotice_ = false;
    QUrl url;
    url.setScheme(QLatin1String(kScheme));
    url.setPath(topic);
    clearHistory();
    // The same topic is read again: the file may have been replaced meanwhile.
    if (source() == url)
        reload();
    else
        setSource(url, QTextDocument::HtmlResource);
    setWindowTitle(documentTitle().isEmpty() ? QStringLiteral("Tangrix") : documentTitle());
    if (reading)
        GoTo(*reading);
}

void HelpWindow::FollowLink(const QUrl& link)
{
    if (link.scheme() == QLatin1String(kScheme))
        setSource(link, QTextDocument::HtmlResource);
    else
        QDesktopServices::openUrl(link);
}

void HelpWindow::ShowNotice(const QString& text)
{
    showsNotice_ = true;
    setWindowTitle(Lang(QStringLiteral("Tangrix – Spielregeln"), QStringLiteral("Tangrix – Rules")));
    setHtml(QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()));
}

QVariant HelpWindow::loadResource(int type, const QUrl& name)
{
    if (name.scheme() != QLatin1String(kScheme))
        return QTextBrowser::loadResource(type, name);
    const std::optional<QByteArray> bytes = file_.ReadObject(name.path());
    if (!bytes)
        return {};
    switch (type) {
    case QTextDocument::HtmlResource: return DecodePage(*bytes);
    case QTextDocument::StyleSheetResource: return QString::fromUtf8(*bytes);
    case QTextDocument::ImageResource: return PictureFor(*bytes, devicePixelRatioF());
    default: return *bytes;
    }
}
