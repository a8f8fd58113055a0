#include "help/THelpWindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextDocument>
#include <algorithm>

#include "settings/Globals.h"

namespace {

QString NoticeFor(TChmStatus status, const QString& helpFile, quint32 context)
{
    switch (status) {
    case TChmStatus::Missing:
        return Lang(QStringLiteral("Die Hilfedatei „%1“ wurde nicht gefunden."),
                    QStringLiteral("The help file \"%1\" was not found."))
            .arg(helpFile);
    case TChmStatus::NoSuchContext:
        return Lang(QStringLiteral("Die Hilfedatei „%1“ enthält kein Thema mit der Nummer %2."),
                    QStringLiteral("The help file \"%1\" holds no topic number %2."))
            .arg(helpFile)
            .arg(context);
    case TChmStatus::Damaged:
    case TChmStatus::Ok:
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

THelpWindow::THelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    // A window that belongs to another, as the dialogs do: X11 keeps only
    // such windows over the window they belong to (WM_TRANSIENT_FOR).
    setWindowFlags(Qt::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    // Links are followed here: Qt would take the file's own scheme for an
    // outside address and pass it to the desktop.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &THelpWindow::FollowLink);
    resize(680, 600);
    connect(this, &QTextBrowser::sourceChanged, this, [this] {
        if (!FShowsNotice && !documentTitle().isEmpty())
            setWindowTitle(documentTitle());
    });

    // In a strip above the page, so that it never covers the text.
    FCloseButton = new QPushButton(this);
    FCloseButton->setObjectName(QStringLiteral("CloseButton"));
    FCloseButton->setFocusPolicy(Qt::TabFocus);
    connect(FCloseButton, &QPushButton::clicked, this, &QWidget::close);
    SetUpCloseButton();
}

void THelpWindow::SetUpCloseButton()
{
    FCloseButton->setText(Lang(QStringLiteral("Schließen"), QStringLiteral("Close")));
    FCloseButton->adjustSize();
    const int strip = FCloseButton->height() + 2 * CloseButtonGap;
    if (viewportMargins().top() != strip)
        setViewportMargins(0, strip, 0, 0);
    PlaceCloseButton();
}

void THelpWindow::PlaceCloseButton()
{
    // Right-aligned with the page: the vertical scroll bar, when there is
    // one, runs up beside the strip.
    const QRect page = viewport()->geometry();
    FCloseButton->move(page.right() - CloseButtonGap - FCloseButton->width() + 1,
                       page.top() - viewportMargins().top() + CloseButtonGap);
}

bool THelpWindow::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize)
        PlaceCloseButton();
    return QTextBrowser::viewportEvent(event);
}

void THelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

void THelpWindow::closeEvent(QCloseEvent* event)
{
    emit Closing();
    QTextBrowser::closeEvent(event);
}

void THelpWindow::ShowContext(const QString& helpFile, quint32 context)
{
    FContext = context;
    SetUpCloseButton();
    TChmStatus status = FFile.Open(helpFile);
    QString topic;
    if (status == TChmStatus::Ok)
        status = FFile.TopicForContext(context, topic);
    if (status == TChmStatus::Ok && !FFile.ReadObject(topic))
        status = TChmStatus::Damaged;
    if (status != TChmStatus::Ok) {
        FFile.Close();
        ShowNotice(NoticeFor(status, helpFile, context));
        return;
    }

    FShowsNotice = false;
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
}

void THelpWindow::FollowLink(const QUrl& link)
{
    if (link.scheme() == QLatin1String(kScheme))
        setSource(link, QTextDocument::HtmlResource);
    else
        QDesktopServices::openUrl(link);
}

void THelpWindow::ShowNotice(const QString& text)
{
    FShowsNotice = true;
    setWindowTitle(Lang(QStringLiteral("Tangrix – Spielregeln"), QStringLiteral("Tangrix – Rules")));
    setHtml(QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()));
}

QVariant THelpWindow::loadResource(int type, const QUrl& name)
{
    if (name.scheme() != QLatin1String(kScheme))
        return QTextBrowser::loadResource(type, name);
    const std::optional<QByteArray> bytes = FFile.ReadObject(name.path());
    if (!bytes)
        return {};
    switch (type) {
    case QTextDocument::HtmlResource: return DecodePage(*bytes);
    case QTextDocument::StyleSheetResource: return QString::fromUtf8(*bytes);
    case QTextDocument::ImageResource: return PictureFor(*bytes, devicePixelRatioF());
    default: return *bytes;
    }
}
