#include "game/mainform/BoardPainter.h"

#include "game/mainform/CanvasGeometryQt.h"
#include "game/mainform/DarkenColor.h"
#include "assets/MainFormAssets.h"
#include "settings/SettingKeys.h"

#include <QPainter>
#include <cmath>

namespace {
constexpr int TextureTile = 100;
constexpr QRgb Black = 0xFF000000u;
// The sign of a refused lay on the carried tile; the focus frame and the
// line round a carried tile.
constexpr QRgb RefusedRed = 0xFFE01010u;
constexpr QRgb FocusGold = 0xFFFEC912u;

// Canvas pixels are 0xAARRGGBB, the darkening works on 0x00BBGGRR.
quint32 ToBgr(quint32 argb) { return ((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF); }
quint32 FromBgr(quint32 bgr) { return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF); }

// The texture sheet at scale device pixels a pixel. Each 100 x 100 texture
// is scaled on its own and wrapping round, so that it still joins itself
// seamlessly and takes nothing from its neighbours in the sheet.
QImage ScaledTextureSheet(const QImage& sheet, int scale)
{
    if (scale == 1)
        return sheet.convertToFormat(QImage::Format_RGB32);
    const QImage source = sheet.convertToFormat(QImage::Format_RGB32);
    QImage scaled(source.size() * scale, QImage::Format_RGB32);
    scaled.fill(Black);
    QPainter painter(&scaled);
    for (int x = 0; x + TextureTile <= source.width(); x += TextureTile)
        for (int y = 0; y + TextureTile <= source.height(); y += TextureTile) {
            const QImage tile = source.copy(x, y, TextureTile, TextureTile);
            QImage around(3 * TextureTile, 3 * TextureTile, QImage::Format_RGB32);
            QPainter wrap(&around);
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    wrap.drawImage(i * TextureTile, j * TextureTile, tile);
            wrap.end();
            const QImage big = around.scaled(around.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            painter.drawImage(QPoint(x * scale, y * scale), big,
                              QRect(TextureTile * scale, TextureTile * scale, TextureTile * scale, TextureTile * scale));
        }
    painter.end();
    scaled.setDevicePixelRatio(scale);
    return scaled;
}

// A background the size of the canvas, tiled with one texture of the sheet.
QImage TiledBackground(const QImage& sheet, int column, int backMode, int width, int height, int formWidth,
                       int formHeight, int scale)
{
    QImage back(width * scale, height * scale, QImage::Format_RGB32);
    back.setDevicePixelRatio(scale);
    back.fill(Black);
    const QImage tile = sheet.copy(column * TextureTile * scale, backMode * TextureTile * scale, TextureTile * scale,
                                   TextureTile * scale);
    QPainter painter(&back);
    for (int i = 0; i <= formWidth / TextureTile; ++i)
        for (int j = 0; j <= formHeight / TextureTile; ++j)
            painter.drawImage(QPoint(TextureTile * i, TextureTile * j), tile);
    return back;
}
} // namespace

BoardPainter::BoardPainter(PixelCanvas& box, const QImage& textureSheet, const SymbolPicture& masks,
                             const SymbolPicture& pats)
    : box_(&box), textureSheet_(textureSheet), originalSheet_(&textureSheet), masks_(&masks), pats_(&pats)
{
}

void BoardPainter::ComputeLayout(int boxWidth, int boxHeight)
{
    geometry_ = BoardGeometry::ComputeLayout(boxWidth, boxHeight);
}

void BoardPainter::Resize(int formWidth, int formHeight)
{
    const int scale = box_->Scale();
    const int w = box_->Width(), h = box_->Height();
    ComputeLayout(w, h);
    const int c = std::max(geometry_.CellSize, 1);

    // The vector pictures are rendered again only when the cell size or the
    // scale changes: resizing by a few pixels keeps the sheets.
    if (sheetsScale_ != scale)
        textureSheet_ = ScaledTextureSheet(*originalSheet_, scale);
    if (sheetsCell_ != c || sheetsScale_ != scale)
        RenderSymbolSheets(*masks_, *pats_, c, scale, maskSheet_, patternSheet_);
    sheetsCell_ = c;
    sheetsScale_ = scale;

    underHand_ = QImage();
    handShown_.reset();
    boardBack_ = TiledBackground(textureSheet_, BoardGrade, BackMode, w, h, formWidth, formHeight, scale);
    windowBack_ = TiledBackground(textureSheet_, WindowGrade, BackMode, w, h, formWidth, formHeight, scale);
    shown_.reset();
}

// --- where things are ----------------------------------------------------------------

QRect BoardPainter::CellRect(int column, int row) const
{
    return {geometry_.CellX(column), geometry_.CellY(row), geometry_.CellSize, geometry_.CellSize};
}

QRect BoardPainter::TimeBarRect() const { return ToQRect(geometry_.TimeBarRect()); }

QRect BoardPainter::FocusFrameRect() const
{
    // Just outside the board's black outline.
    const int m = 8;
    return {geometry_.BoardLeft - m, geometry_.BoardTop - m, geometry_.BoardSize() + 2 * m, geometry_.BoardSize() + 2 * m};
}

QRect BoardPainter::HandRect(const BoardScene::Hand& hand) const
{
    const int c = geometry_.CellSize;
    return {hand.x - c, hand.y - c, 2 * c, 2 * c};
}

// --- the whole picture -------------------------------------------------------------

void BoardPainter::FramedArea(int left, int top, int width, int height)
{
    box_->FrameRectangle(left - 4, top - 4, left + width + 4, top + height + 4, 3, Black);
    box_->FillRectangle(left - 1, top - 1, left + width + 1, top + height + 1, Black);
}

void BoardPainter::Paint(const BoardScene& scene)
{
    const int W = box_->Width(), H = box_->Height();
    box_->BitBlt(0, 0, W, H, windowBack_, 0, 0, RasterOp::SrcCopy);

    box_->FrameRectangle(0, 0, W, H, 1, Black);
    box_->FrameRectangle(6, 6, W - 6, H - 6, 1, Black);
    box_->FrameRectangle(3, 3, W - 3, H - 3, 3, Black);

    const BoardGeometry& g = geometry_;
    FramedArea(g.BoardLeft, g.BoardTop, g.BoardSize(), g.BoardSize());
    for (const CanvasRect& r : {g.PreviewRect(), g.DiscardRect(), g.TimeBarRect()})
        FramedArea(r.left, r.top, r.width, r.height);
    DrawFocusFrame(scene.focused);

    for (int column = 0; column < BoardCells; ++column)
        for (int row = 0; row < BoardCells; ++row)
            DrawCell(column, row, scene.cells[column][row]);

    // The preview box shows its texture also while its tile is carried.
    DrawPreview(scene.preview);
    DrawDiscard(scene.discard);
    DrawTimeBar(scene.timeLeft);
    // The carried tile lies over everything, the time bar included.
    handShown_.reset();
    if (scene.hand)
        ShowHand(*scene.hand);
    shown_ = scene;
}

void BoardPainter::Sync(const BoardScene& scene)
{
    if (!shown_) {
        Paint(scene);
        return;
    }
    const BoardScene& was = *shown_;
    std::vector<QRect> changed;
    for (int column = 0; column < BoardCells; ++column)
        for (int row = 0; row < BoardCells; ++row)
            if (scene.cells[column][row] != was.cells[column][row])
                changed.push_back(CellRect(column, row));
    const bool preview = scene.preview != was.preview;
    const bool discard = scene.discard != was.discard;
    const bool timeBar = scene.timeLeft != was.timeLeft;
    const bool focus = scene.focused != was.focused;
    if (preview)
        changed.push_back(ToQRect(geometry_.PreviewRect()));
    if (discard)
        changed.push_back(ToQRect(geometry_.DiscardDarkening()));
    if (timeBar)
        changed.push_back(TimeBarRect());
    if (focus)
        changed.push_back(FocusFrameRect());

    // The carried tile comes off before anything under it changes.
    bool handOff = handShown_ && scene.hand != handShown_;
    if (handShown_ && !handOff) {
        const QRect under = HandRect(*handShown_);
        for (const QRect& r : changed)
            handOff = handOff || r.intersects(under);
    }
    if (handOff)
        HideHand();

    for (int column = 0; column < BoardCells; ++column)
        for (int row = 0; row < BoardCells; ++row)
            if (scene.cells[column][row] != was.cells[column][row])
                DrawCell(column, row, scene.cells[column][row]);
    if (preview)
        DrawPreview(scene.preview);
    if (discard)
        DrawDiscard(scene.discard);
    if (timeBar)
        DrawTimeBar(scene.timeLeft);
    if (focus)
        DrawFocusFrame(scene.focused);

    if (scene.hand && !handShown_)
        ShowHand(*scene.hand);
    shown_ = scene;
}

QImage BoardPainter::FreshPicture(const BoardScene& scene) const
{
    PixelCanvas fresh;
    fresh.Resize(box_->Width(), box_->Height(), box_->Scale());
    BoardPainter painter(*this); // shares the sheets and backgrounds
    painter.box_ = &fresh;
    painter.Paint(scene);
    return fresh.Image();
}

void BoardPainter::ToolBoxPaint(PixelCanvas& toolBox, int clientWidth) const
{
    const int tw = originalSheet_->width() / TextureGradeCount;
    const int th = originalSheet_->height() / BackModeCount;
    for (int a = 0; a <= clientWidth / tw; ++a)
        toolBox.BitBlt(a * tw, 0, tw, toolBox.Height(), textureSheet_, tw * ToolStripGrade, th * BackMode,
                       RasterOp::SrcCopy);
}

// --- drawing steps ---------------------------------------------------------------

void BoardPainter::DrawCell(int column, int row, int image)
{
    DrawQuarter(geometry_.CellX(column), geometry_.CellY(row), image);
}

void BoardPainter::DrawQuarter(int x, int y, int image)
{
    const int c = geometry_.CellSize;
    box_->BitBlt(x, y, c, c, boardBack_, x, y, RasterOp::SrcCopy);
    DrawSymbol(x, y, image);
}

void BoardPainter::DrawSymbol(int x, int y, int image)
{
    // Over whatever lies there: only the symbol's own pixels are drawn.
    if (image <= 0)
        return;
    const int c = geometry_.CellSize;
    const QPoint source = SymbolSquare(image, c).topLeft();
    box_->BitBlt(x, y, c, c, maskSheet_, source.x(), source.y(), RasterOp::SrcAnd);
    box_->BitBlt(x, y, c, c, patternSheet_, source.x(), source.y(), RasterOp::SrcPaint);
}

void BoardPainter::DrawTile(int cx, int cy, const Tile& images)
{
    const int c = geometry_.CellSize;
    DrawSymbol(cx - c, cy - c, images[0][0]);
    DrawSymbol(cx, cy - c, images[1][0]);
    DrawSymbol(cx - c, cy, images[0][1]);
    DrawSymbol(cx, cy, images[1][1]);
}

void BoardPainter::DrawPreview(const Tile& images)
{
    const QRect r = ToQRect(geometry_.PreviewRect());
    box_->BitBlt(r.x(), r.y(), r.width(), r.height(), boardBack_, r.x(), r.y(), RasterOp::SrcCopy);
    // Inside the box's frame line, one pixel right of and below its centre.
    const CanvasPoint centre = geometry_.PreviewCentre();
    DrawTile(centre.x + 1, centre.y + 1, images);
}

void BoardPainter::DrawDiscard(const std::optional<BoardScene::Discard>& discard)
{
    // The discard box is black inside; a thrown tile darkens there pass by pass.
    const QRect r = ToQRect(geometry_.DiscardDarkening());
    box_->FillRectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1, Black);
    if (!discard)
        return;
    const CanvasPoint centre = geometry_.DiscardCentre();
    DrawTile(centre.x, centre.y, discard->tile);
    for (int pass = 0; pass < discard->passes; ++pass)
        box_->TransformPixels(r, [](quint32 p) { return FromBgr(DarkenColor(ToBgr(p), ThrowAwayDarkenPercent)); });
}

void BoardPainter::DrawTimeBar(float timeLeft)
{
    const BoardGeometry& g = geometry_;
    const int c = g.CellSize;
    const int right = g.PreviewLeft + 2 * c + 2;
    const int top = g.TimeBarTop();
    const int bottom = top + c;
    const double t = timeLeft;

    int fill = g.PreviewLeft + int(std::trunc(2.0 * c * t + 2.0));
    if (fill > right)
        fill = right;
    box_->FillRectangle(fill, top, right, bottom, Black);

    const int red = std::clamp(int(std::trunc((1.0 - t) * 512)), 0, 255);
    const int green = std::clamp(int(std::trunc(t * 512)), 0, 255);
    box_->FillRectangle(g.PreviewLeft, top, fill, bottom, qRgb(red, green, 0));
}

void BoardPainter::DrawFocusFrame(bool focused)
{
    const QRect r = FocusFrameRect();
    if (!focused) {
        // Both lines of the frame show the window's texture again.
        for (const QRect& line : {QRect(r.left(), r.top(), r.width(), 2), QRect(r.left(), r.bottom() - 1, r.width(), 2),
                                  QRect(r.left(), r.top(), 2, r.height()), QRect(r.right() - 1, r.top(), 2, r.height())})
            box_->BitBlt(line.x(), line.y(), line.width(), line.height(), windowBack_, line.x(), line.y(),
                         RasterOp::SrcCopy);
        return;
    }
    box_->FrameRectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1, 1, Black);
    box_->FrameRectangle(r.left() + 1, r.top() + 1, r.right(), r.bottom(), 1, FocusGold);
}

void BoardPainter::ShowHand(const BoardScene::Hand& hand)
{
    const QRect r = HandRect(hand);
    box_->CopyTo(underHand_, r.x(), r.y(), r.width(), r.height());
    DrawTile(hand.x, hand.y, hand.tile);
    // Carried, not laid: a thin line in the focus colour round the tile, with
    // a black one inside it that keeps it apart from the symbols. A tile laid
    // on its place has neither, so the two never look alike.
    box_->FrameRectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1, 1, FocusGold);
    box_->FrameRectangle(r.left() + 1, r.top() + 1, r.right(), r.bottom(), 1, Black);
    if (hand.refused) {
        box_->FrameRectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1, 1, RefusedRed);
        box_->FrameRectangle(r.left() + 1, r.top() + 1, r.right(), r.bottom(), 1, RefusedRed);
    }
    handShown_ = hand;
}

void BoardPainter::HideHand()
{
    if (!handShown_)
        return;
    const QRect r = HandRect(*handShown_);
    box_->BitBlt(r.x(), r.y(), r.width(), r.height(), underHand_, 0, 0, RasterOp::SrcCopy);
    handShown_.reset();
}
