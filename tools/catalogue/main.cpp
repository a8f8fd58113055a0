// Renders every asset of the game, labelled with its list and index, into one
// PNG for review: the picture lists as the program reads them, the symbols
// drawn the way the board draws them (AND mask, OR pattern) over a texture at
// three cell sizes, and the waveforms of the sounds.
//
//   asset-catalogue <out.png>
#include "assets/DlgRes.h"
#include "assets/MainFormAssets.h"
#include "assets/ProgramIcon.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QtEndian>
#include <cstdio>

namespace {

constexpr int kWidth = 1900;
const QColor kPaper(46, 48, 56);
const QColor kInk(236, 236, 240);

class Sheet {
public:
    explicit Sheet(QPainter& painter) : painter_(painter) {}

    void Heading(const QString& text)
    {
        NewLine();
        y_ += 10;
        painter_.setFont(QFont(QStringLiteral("Liberation Sans"), 15, QFont::Bold));
        painter_.setPen(kInk);
        painter_.drawText(QPoint(left_, y_ + 20), text);
        y_ += 32;
    }

    // Places a labelled picture, scaled by an integer factor, left to right.
    void Picture(const QImage& image, const QString& label, int scale = 1)
    {
        const QSize size = image.size() * scale;
        if (x_ + size.width() > kWidth - 16)
            NewLine();
        painter_.drawImage(QRect(QPoint(x_, y_), size), image);
        painter_.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        painter_.setPen(kInk);
        painter_.drawText(QRect(x_, y_ + size.height() + 2, std::max(size.width(), 100), 32), Qt::AlignLeft, label);
        x_ += std::max(size.width(), 70) + 14;
        rowHeight_ = std::max(rowHeight_, size.height() + (label.contains(u'\n') ? 36 : 22));
    }

    void NewLine()
    {
        if (x_ > left_)
            y_ += rowHeight_ + 8;
        x_ = left_;
        rowHeight_ = 0;
    }

    // Starts a column at the given left edge and height, beside what is already placed.
    void StartColumn(int left, int top)
    {
        left_ = x_ = left;
        y_ = top;
        rowHeight_ = 0;
    }

    int Bottom() const { return y_ + rowHeight_ + 16; }

private:
    QPainter& painter_;
    int left_ = 16, x_ = 16, y_ = 0, rowHeight_ = 0;
};

QString Depth(const QImage& image)
{
    return image.format() == QImage::Format_Indexed8 ? QStringLiteral("256 col") : QStringLiteral("24-bit");
}

void ShowList(Sheet& sheet, const QString& name, const BitmapList& list, int scale, int first = 0)
{
    for (int i = first; i < list.Count(); ++i) {
        const QImage& item = list.Item(i);
        const int s = item.width() > 100 ? 1 : scale;
        sheet.Picture(item, QStringLiteral("%1 %2\n%3x%4 %5").arg(name).arg(i).arg(item.width()).arg(item.height()).arg(Depth(item)), s);
    }
}

// A board-like strip: texture background, then each symbol drawn as the game does.
QImage SymbolStrip(const QImage& textureSheet, int c, int backMode)
{
    QImage maskSheet, patternSheet;
    RenderSymbolSheets(MaskPicture(), PatternPicture(), c, maskSheet, patternSheet);
    const int gap = std::max(2, c / 8);
    QImage strip(27 * (c + gap) + gap, c + 2 * gap, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int x = 0; x < strip.width(); x += 100)
        for (int y = 0; y < strip.height(); y += 100)
            painter.drawImage(QPoint(x, y), textureSheet, QRect(200, 100 * backMode, 100, 100));
    for (int n = 1; n <= 27; ++n)
        DrawSymbolQuarter(painter, QPoint(gap + (n - 1) * (c + gap), gap), n, c, maskSheet, patternSheet);
    return strip;
}

QImage Waveform(const QByteArray& riff, int width, int height)
{
    QImage plot(width, height, QImage::Format_RGB32);
    plot.fill(QColor(24, 26, 32));
    const int bits = qFromLittleEndian<quint16>(riff.constData() + 34);
    const int dataSize = int(qFromLittleEndian<quint32>(riff.constData() + 40));
    const int count = dataSize / (bits / 8);
    QPainter painter(&plot);
    painter.setPen(QColor(110, 200, 255));
    for (int x = 0; x < width; ++x) {
        double low = 0, high = 0;
        for (int i = x * count / width; i < (x + 1) * count / width; ++i) {
            const double v = bits == 8 ? (quint8(riff[44 + i]) - 128) / 128.0
                                       : qFromLittleEndian<qint16>(riff.constData() + 44 + 2 * i) / 32768.0;
            low = std::min(low, v);
            high = std::max(high, v);
        }
        painter.drawLine(x, int(height / 2 - high * height / 2), x, int(height / 2 - low * height / 2));
    }
    return plot;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: asset-catalogue <out.png>\n");
        return 2;
    }
    const BitmapList bmps = MainFormBitmaps();
    const TDlgResources resources;
    const TWaveList waves = MainFormWaves();

    QImage page(kWidth, 4000, QImage::Format_RGB32);
    page.fill(kPaper);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Sheet sheet(painter);

    sheet.Heading(QStringLiteral("bmps 0: texture sheet"));
    sheet.Picture(bmps.Item(0), QStringLiteral("bmps 0\n300x700 %1").arg(Depth(bmps.Item(0))));
    const int textureBottom = sheet.Bottom();
    sheet.StartColumn(360, 0);
    sheet.Heading(QStringLiteral("bmps 1-9: left-hand tool-strip buttons (2x)"));
    ShowList(sheet, QStringLiteral("bmps"), bmps, 2, 1);
    sheet.Heading(QStringLiteral("dlgs: granite, cartoon, tick, cross, flags (faces at 2x)"));
    ShowList(sheet, QStringLiteral("dlgs"), resources.dlgs, 2);
    sheet.Heading(QStringLiteral("opts: options dialog buttons (2x)"));
    ShowList(sheet, QStringLiteral("opts"), resources.opts, 2);
    sheet.Heading(QStringLiteral("btns: right-hand tool-strip buttons (2x)"));
    ShowList(sheet, QStringLiteral("btns"), resources.btns, 2);

    sheet.StartColumn(16, std::max(sheet.Bottom(), textureBottom));
    sheet.Heading(QStringLiteral("symbols 1-27 drawn with AND mask / OR pattern over textures, cell sizes 16, 28 (every background) and 64"));
    const QImage& textures = bmps.Item(0);
    sheet.Picture(SymbolStrip(textures, 16, 2), QStringLiteral("c = 16, background 2"));
    sheet.NewLine();
    // Every symbol on every cell background: the pairs that must stay readable.
    for (int backMode = 0; backMode < 7; ++backMode) {
        sheet.Picture(SymbolStrip(textures, 28, backMode), QStringLiteral("c = 28, background %1").arg(backMode));
        sheet.NewLine();
    }
    sheet.Picture(SymbolStrip(textures, 64, 0).copy(0, 0, 14 * 72, 80), QStringLiteral("c = 64, symbols 1-14, background 0"));
    QImage maskSheet, patternSheet;
    RenderSymbolSheets(MaskPicture(), PatternPicture(), 32, maskSheet, patternSheet);
    sheet.Picture(maskSheet, QStringLiteral("mask sheet, c = 32"));
    sheet.NewLine();
    sheet.Picture(SymbolStrip(textures, 64, 6).copy(14 * 72, 0, 13 * 72 + 8, 80), QStringLiteral("c = 64, symbols 15-27, background 6"));
    sheet.Picture(patternSheet, QStringLiteral("pattern sheet, c = 32"));

    sheet.Heading(QStringLiteral("program icon and waves (sound n = item n-1)"));
    const QIcon icon = ProgramIcon();
    for (int size : {16, 32, 64, 128})
        sheet.Picture(icon.pixmap(size).toImage(), QStringLiteral("icon %1").arg(size));
    const char* names[] = {"1 level won", "2 tile laid", "3 refused / time up", "4 falling slide", "5 discarded"};
    for (int i = 0; i < waves.Count(); ++i)
        sheet.Picture(Waveform(waves.Item(i), 270, 90), QStringLiteral("waves %1: %2").arg(i).arg(QLatin1String(names[i])));
    painter.end();

    if (!page.copy(0, 0, kWidth, sheet.Bottom()).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "asset-catalogue: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
