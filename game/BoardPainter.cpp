#include "game/BoardPainter.h"

#include "game/DarkenColor.h"

#include <QPainter>
#include <cmath>

namespace {
constexpr int TextureTile = 100;
constexpr QRgb Black = 0xFF000000u;

// Canvas pixels are 0xAARRGGBB, the darkening works on 0x00BBGGRR.
quint32 ToBgr(quint32 argb) { return ((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF); }
quint32 FromBgr(quint32 bgr) { return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF); }
}

TBoardPainter::TBoardPainter(TCanvas& box, const GameCore& game, const QImage& textureSheet,
                             const TSymbolPicture& masks, const TSymbolPicture& pats)
    : box_(box), game_(game), textureSheet_(textureSheet), masks_(masks), pats_(pats)
{
}

void TBoardPainter::ComputeLayout(int boxWidth, int boxHeight)
{
    geometry_ = BoardGeometry::ComputeLayout(boxWidth, boxHeight);
}

void TBoardPainter::Resize(int boxWidth, int boxHeight, int formWidth, int formHeight)
{
    ComputeLayout(boxWidth, boxHeight);
    const int c = std::max(geometry_.CellSize, 1);
    RenderSymbolSheets(masks_, pats_, c, maskSheet_, patternSheet_);
    underHand_ = QImage(2 * c, 2 * c, QImage::Format_RGB32);
    underHand_.fill(Black);

    boardBack_ = QImage(std::max(boxWidth, 1), std::max(boxHeight, 1), QImage::Format_RGB32);
    boardBack_.fill(Black);
    const QImage tile = textureSheet_.copy(2 * TextureTile, BackMode * TextureTile, TextureTile, TextureTile)
                            .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&boardBack_);
    for (int i = 0; i <= formWidth / TextureTile; ++i)
        for (int j = 0; j <= formHeight / TextureTile; ++j)
            painter.drawImage(TextureTile * i, TextureTile * j, tile);
}

void TBoardPainter::FramedArea(int left, int top, int width, int height)
{
    box_.FrameRectangle(left - 4, top - 4, left + width + 4, top + height + 4, 3, Black);
    box_.FillRectangle(left - 1, top - 1, left + width + 1, top + height + 1, Black);
}

void TBoardPainter::Paint(int formWidth, int formHeight)
{
    const int W = box_.Width(), H = box_.Height();
    for (int i = 0; i <= formWidth / TextureTile; ++i)
        for (int j = 0; j <= formHeight / TextureTile; ++j)
            box_.BitBlt(TextureTile * i, TextureTile * j, TextureTile, TextureTile, textureSheet_, 0,
                        BackMode * TextureTile, RasterOp::SrcCopy);

    box_.FrameRectangle(0, 0, W, H, 1, Black);
    box_.FrameRectangle(6, 6, W - 6, H - 6, 1, Black);
    box_.FrameRectangle(3, 3, W - 3, H - 3, 3, Black);

    const BoardGeometry& g = geometry_;
    const int c = g.CellSize;
    FramedArea(g.BoardLeft, g.BoardTop, g.BoardSize(), g.BoardSize());
    FramedArea(g.PreviewLeft, g.BoardTop, g.BoxSize(), g.BoxSize());
    FramedArea(g.PreviewLeft, g.DiscardTop(), g.BoxSize(), g.BoxSize());
    FramedArea(g.PreviewLeft, g.TimeBarTop(), g.BoxSize(), c);

    // In a pause the board shows only empty cells, so the position cannot be studied.
    const bool paused = game_.GameState == TGameState::gsPaused;
    for (int column = 0; column < BoardCells; ++column)
        for (int row = 0; row < BoardCells; ++row) {
            DrawCell(column, row, 0);
            if (!paused)
                DrawCell(column, row, game_.Board.Cell(column, row));
        }

    if (game_.InHand)
        ShowHand();
    else
        DrawPreview();
    DrawTimeBar();
}

void TBoardPainter::ToolBoxPaint(TCanvas& toolBox, int clientWidth) const
{
    const int tw = textureSheet_.width() / 3;
    const int th = textureSheet_.height() / 7;
    for (int a = 0; a <= clientWidth / tw; ++a)
        toolBox.BitBlt(a * tw, 0, tw, toolBox.Height(), textureSheet_, tw, th * BackMode, RasterOp::SrcCopy);
}

void TBoardPainter::DrawCell(int column, int row, int value)
{
    DrawQuarter(geometry_.CellX(column), geometry_.CellY(row), value);
}

void TBoardPainter::DrawQuarter(int x, int y, int value)
{
    const int c = geometry_.CellSize;
    if (value <= 0) {
        box_.BitBlt(x, y, c, c, boardBack_, x, y, RasterOp::SrcCopy);
        return;
    }
    const int n = game_.ImageFor(value) - 1;
    const int sx = (n % 9) * c + 1;
    const int sy = (n / 9) * c + 1;
    box_.BitBlt(x, y, c, c, maskSheet_, sx, sy, RasterOp::SrcAnd);
    box_.BitBlt(x, y, c, c, patternSheet_, sx, sy, RasterOp::SrcPaint);
}

void TBoardPainter::DrawTile(int cx, int cy, const Tile& tile)
{
    const int c = geometry_.CellSize;
    DrawQuarter(cx - c, cy - c, tile[0][0]);
    DrawQuarter(cx, cy - c, tile[1][0]);
    DrawQuarter(cx - c, cy, tile[0][1]);
    DrawQuarter(cx, cy, tile[1][1]);
}

void TBoardPainter::DrawPreview()
{
    const BoardGeometry& g = geometry_;
    box_.BitBlt(g.PreviewLeft, g.BoardTop, g.BoxSize(), g.BoxSize(), boardBack_, g.PreviewLeft, g.BoardTop,
                RasterOp::SrcCopy);
    DrawTile(g.PreviewLeft + g.CellSize + 1, g.BoardTop + g.CellSize + 1, game_.NextTile);
}

void TBoardPainter::ShowHand()
{
    const int c = geometry_.CellSize;
    box_.CopyTo(underHand_, HandX - c, HandY - c, 2 * c, 2 * c);
    DrawTile(HandX, HandY, game_.HandTile);
}

void TBoardPainter::HideHand()
{
    const int c = geometry_.CellSize;
    box_.BitBlt(HandX - c, HandY - c, 2 * c, 2 * c, underHand_, 0, 0, RasterOp::SrcCopy);
}

void TBoardPainter::DrawTimeBar()
{
    const BoardGeometry& g = geometry_;
    const int c = g.CellSize;
    const int right = g.PreviewLeft + 2 * c + 2;
    const int top = g.TimeBarTop();
    const int bottom = top + c;
    const double timeLeft = game_.Clock.TimeLeft;

    int fill = g.PreviewLeft + int(std::trunc(2.0 * c * timeLeft + 2.0));
    if (fill > right)
        fill = right;
    box_.FillRectangle(fill, top, right, bottom, Black);

    const int red = std::clamp(int(std::trunc((1.0 - timeLeft) * 512)), 0, 255);
    const int green = std::clamp(int(std::trunc(timeLeft * 512)), 0, 255);
    box_.FillRectangle(g.PreviewLeft, top, fill, bottom, qRgb(red, green, 0));
}

void TBoardPainter::DrawBoard()
{
    for (int column = 0; column < BoardCells; ++column)
        for (int row = 0; row < BoardCells; ++row)
            DrawCell(column, row, game_.Board.Cell(column, row));
}

void TBoardPainter::DarkenDiscardBox(int percent)
{
    const BoardGeometry& g = geometry_;
    const int c = g.CellSize;
    const QRect area(QPoint(g.PreviewLeft, g.BoardTop + 3 * c), QPoint(g.PreviewLeft + 2 * c, g.BoardTop + 5 * c));
    box_.TransformPixels(area, [percent](quint32 p) { return FromBgr(DarkenColor(ToBgr(p), percent)); });
}

void TBoardPainter::DrawSquare(BlockPos square, bool shown)
{
    for (int column = 2 * square.column; column < 2 * square.column + 6; ++column)
        for (int row = 2 * square.row; row < 2 * square.row + 6; ++row)
            DrawCell(column, row, shown ? game_.Board.Cell(column, row) : 0);
}
