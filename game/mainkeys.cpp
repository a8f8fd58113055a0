// Keyboard play and the tool strip's shortcuts. Every key goes through the
// handler the mouse uses, so the rules and the drawing stay in one place.
#include "game/main.h"

#include <QShortcut>

void Tmainform::CreateShortcuts()
{
    const auto bind = [this](QKeySequence keys, void (Tmainform::*handler)()) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_N), &Tmainform::StartBtnClick);
    bind(QKeySequence(Qt::Key_P), &Tmainform::PauseBtnClick);
    bind(QKeySequence(Qt::Key_Pause), &Tmainform::PauseBtnClick);
    bind(QKeySequence(Qt::CTRL | Qt::Key_H), &Tmainform::HighScoreBtnClick);
    bind(QKeySequence(Qt::Key_F1), &Tmainform::RulesBtnClick);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Q), &Tmainform::ExitBtnClick);
    bind(QKeySequence(Qt::Key_O), &Tmainform::OptionBtnClick);
    bind(QKeySequence(Qt::Key_I), &Tmainform::InfoBtnClick);
}

void Tmainform::MoveHandToKeyBlock()
{
    const BoardGeometry& g = painter_.Geometry();
    MouseMove(g.BlockCentreX(KeyBlock.column), g.BlockCentreY(KeyBlock.row));
}

bool Tmainform::boxKeyDown(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const BoardGeometry& g = painter_.Geometry();
    const bool carried = game_.InHand;
    switch (event.key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!carried) {
            boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
            if (game_.InHand)
                MoveHandToKeyBlock();
        } else {
            boxMouseDown(Qt::LeftButton, g.BlockCentreX(KeyBlock.column), g.BlockCentreY(KeyBlock.row));
        }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (carried && game_.AcceptsPresses()) {
            const int dx = event.key() == Qt::Key_Left ? -1 : event.key() == Qt::Key_Right ? 1 : 0;
            const int dy = event.key() == Qt::Key_Up ? -1 : event.key() == Qt::Key_Down ? 1 : 0;
            KeyBlock.column = std::clamp(KeyBlock.column + dx, 0, BoardBlocks - 1);
            KeyBlock.row = std::clamp(KeyBlock.row + dy, 0, BoardBlocks - 1);
            MoveHandToKeyBlock();
        }
        return true;
    case Qt::Key_R:
        if (carried)
            boxMouseDown(Qt::RightButton, painter_.HandX, painter_.HandY);
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (carried)
            boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + 4 * g.CellSize);
        return true;
    default:
        return false;
    }
}
