// The main window: creation, layout, drawing and the presses on the board.
// The game flow (clock, buttons, closing) is in mainflow.cpp.
#include "game/main.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "assets/DlgRes.h"
#include "assets/MainFormAssets.h"
#include "assets/ProgramIcon.h"
#include "cipher/Chiffre.h"
#include "settings/Globals.h"
#include "settings/ProgramSettings.h"
#include "ui/keeper/TFormKeeper.h"
#include "ui/toolkit/ToolkitFonts.h"

Tmainform* mainform = nullptr;

namespace {
constexpr int ToolBoxHeight = 57;
constexpr int DesignClientWidth = 701;
constexpr int DesignClientHeight = 462;
const QColor CaptionColor(254, 201, 18);

QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& text, const QFont& font, QColor color)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->move(left, top);
    label->adjustSize();
    return label;
}
} // namespace

Tmainform::Tmainform(TMainServices& services, std::unique_ptr<RandomSource> random)
    : bmps(MainFormBitmaps()),
      box(new TPaintBox(this)),
      ToolBox(new TPaintBox(this)),
      masks(MaskPicture()),
      waves(MainFormWaves()),
      pats(PatternPicture()),
      services_(services),
      random_(random ? std::move(random) : std::make_unique<UniformRandom>(UniformRandom::FromClock())),
      game_(*random_),
      textureSheet_(bmps.Item(0).convertToFormat(QImage::Format_RGB32)),
      painter_(box->Canvas(), game_, textureSheet_, masks, pats)
{
    FormCreate();
}

Tmainform::~Tmainform()
{
    FormDestroy();
    if (mainform == this)
        mainform = nullptr;
}

void Tmainform::CreateControls()
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(palette);
    setFont(CaptionFont(11));
    setWindowIcon(ProgramIcon());

    ToolBox->setGeometry(0, 0, DesignClientWidth, ToolBoxHeight);
    box->setGeometry(0, ToolBoxHeight, DesignClientWidth, DesignClientHeight - ToolBoxHeight);
    box->OnMouseDown = [this](Qt::MouseButton button, int x, int y) { boxMouseDown(button, x, y); };
    box->OnMouseMove = [this](int x, int y) { MouseMove(x, y); };
    box->OnKeyDown = [this](const QKeyEvent& event) { return boxKeyDown(event); };

    // Stacking order from the bottom: the paint boxes, then labels and buttons over the strip.
    ScoLabel = MakeLabel(this, 292, 8, QStringLiteral("Punkte:"), CaptionFont(11), CaptionColor);
    auto button = [this](int left, void (Tmainform::*handler)()) {
        auto* b = new TPictureButton(this);
        b->setGeometry(left, 4, TPictureButton::ButtonSize, TPictureButton::ButtonSize);
        connect(b, &QAbstractButton::clicked, this, handler);
        return b;
    };
    StartBtn = button(4, &Tmainform::StartBtnClick);
    PauseBtn = button(56, &Tmainform::PauseBtnClick);
    HighScoreBtn = button(108, &Tmainform::HighScoreBtnClick);
    OptionBtn = button(488, &Tmainform::OptionBtnClick);
    InfoBtn = button(540, &Tmainform::InfoBtnClick);
    RulesBtn = button(592, &Tmainform::RulesBtnClick);
    ExitBtn = button(644, &Tmainform::ExitBtnClick);
    LevLabel = MakeLabel(this, 192, 8, QStringLiteral("Stufe:"), CaptionFont(11), CaptionColor);
    LevelLabel = MakeLabel(this, 200, 24, QStringLiteral("Stufe"), ArialFont(24, true), Qt::white);
    ScoreLabel = MakeLabel(this, 300, 24, QStringLiteral("Punkte"), ArialFont(24, true), Qt::white);

    StartBtn->SetPictures(bmps.Item(1), bmps.Item(2), bmps.Item(3));
    PauseBtn->SetPictures(bmps.Item(7), bmps.Item(8), bmps.Item(9));
    HighScoreBtn->SetPictures(bmps.Item(4), bmps.Item(5), bmps.Item(6));
    BindDialogPictures();

    FormKeeper1 = new TFormKeeper(this, ini);
    Timer.setInterval(500);
    connect(&Timer, &QTimer::timeout, this, &Tmainform::TimerTimer);
    CreateShortcuts();
    box->setFocus();
}

void Tmainform::BindDialogPictures()
{
    if (!DlgResources)
        return;
    const TBitmapList& btns = DlgResources->btns;
    OptionBtn->SetPictures(btns.Item(6), btns.Item(7), btns.Item(6));
    InfoBtn->SetPictures(btns.Item(2), btns.Item(3), btns.Item(2));
    RulesBtn->SetPictures(btns.Item(4), btns.Item(5), btns.Item(4));
    ExitBtn->SetPictures(btns.Item(0), btns.Item(1), btns.Item(0));
}

void Tmainform::FormCreate()
{
    ProgramDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    ScoreCipher.Init(std::u32string(), 0);
    FirstShow = true;
    setWindowTitle(QStringLiteral("Tangrix V2.1"));
    CreateControls();
    resize(DesignClientWidth, DesignClientHeight);

    services_.HelpStartUp(ProgramDir + QStringLiteral("tngx.chm"));
    int backMode = 0;
    ReadProgramSettings(ini, backMode);
    painter_.BackMode = backMode;
    services_.MusicStartUp();
    // The generator was seeded from the clock when it was made.

    box->ResizeCanvas();
    ToolBox->ResizeCanvas();
    painter_.ComputeLayout(box->width(), box->height());
    game_.InHand = false;
    ApplyLanguage();
    NewGame();
}

void Tmainform::RestorePlacement()
{
    FormKeeper1->RestorePlacement();
}

void Tmainform::FormDestroy()
{
    Timer.stop();
    FormKeeper1->SavePlacement();
    services_.HelpShutDown();
}

// --- layout and drawing ----------------------------------------------------------

void Tmainform::resizeEvent(QResizeEvent*)
{
    Resize();
}

void Tmainform::PlaceRightButtons()
{
    const int w = width();
    ExitBtn->move(w - 52, 4);
    RulesBtn->move(w - 104, 4);
    InfoBtn->move(w - 156, 4);
    OptionBtn->move(w - 208, 4);
}

void Tmainform::Resize()
{
    ToolBox->setGeometry(0, 0, width(), ToolBoxHeight);
    box->setGeometry(0, ToolBoxHeight, width(), std::max(1, height() - ToolBoxHeight));
    box->ResizeCanvas();
    ToolBox->ResizeCanvas();
    PlaceRightButtons();
    const QSize form = frameGeometry().size().expandedTo(size());
    painter_.Resize(box->width(), box->height(), form.width(), form.height());
    ToolBoxPaint();
    Paint();
}

void Tmainform::Paint()
{
    const QSize form = frameGeometry().size().expandedTo(size());
    painter_.Paint(form.width(), form.height());
    box->Flush();
}

void Tmainform::ToolBoxPaint()
{
    painter_.ToolBoxPaint(ToolBox->Canvas(), width());
    ToolBox->Flush();
    ShowCounters();
}

void Tmainform::Flush()
{
    box->Flush();
}

void Tmainform::Delay(int milliseconds)
{
    box->FlushNow();
    if (InstantAnimations)
        return;
    // Waits in an event loop that leaves input for later, so that the
    // effects and the music keep being fed while the picture holds still.
    animating_ = true;
    QEventLoop wait;
    QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

void Tmainform::EndAnimation()
{
    animating_ = false;
    if (std::exchange(tickHeldBack_, false))
        TimerTimer();
    if (std::exchange(closeHeldBack_, false))
        QTimer::singleShot(0, this, &QWidget::close);
}

// --- dealing -------------------------------------------------------------------

void Tmainform::NewGame()
{
    if (game_.InHand)
        painter_.HideHand();
    game_.NewGame();
    scoreOffered_ = false;
    timeOutPending_ = false;
    painter_.DrawBoard();
    painter_.DrawPreview();
    ShowCounters();
    PauseBtn->setEnabled(false);
    painter_.DrawTimeBar();
    EnableTimer();
    Flush();
}

void Tmainform::SetUpLevel()
{
    game_.SetUpLevel();
    painter_.DrawBoard();
    painter_.DrawTimeBar();
    EnableTimer();
    Flush();
}

void Tmainform::DealNextTile()
{
    game_.DealNextTile();
    painter_.DrawPreview();
    Flush();
}

// --- laying pieces -----------------------------------------------------------------

void Tmainform::boxMouseDown(Qt::MouseButton button, int X, int Y)
{
    if (!game_.AcceptsPresses())
        return;
    game_.StartOnFirstPress();
    PauseBtn->setEnabled(true);

    const BoardGeometry& g = painter_.Geometry();
    if (!game_.InHand) {
        if (g.InPreview(X, Y))
            PickUpTile(X, Y);
        return;
    }
    if (button == Qt::RightButton) {
        TurnTile();
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (g.InDiscard(X, Y)) {
        ThrowTileAway();
        return;
    }
    if (const auto block = g.BlockAt(X, Y))
        TryToLay(*block);
}

void Tmainform::PickUpTile(int X, int Y)
{
    game_.PickUp();
    painter_.DrawPreview();
    painter_.HandX = X;
    painter_.HandY = Y;
    painter_.ShowHand();
    Flush();
}

void Tmainform::TurnTile()
{
    painter_.HideHand();
    game_.TurnHandTile();
    painter_.ShowHand();
    Flush();
}

void Tmainform::ThrowTileAway()
{
    const BoardGeometry& g = painter_.Geometry();
    services_.PlayEffect(5);
    painter_.HideHand();
    game_.InHand = false;
    painter_.HandX = g.PreviewLeft + g.CellSize;
    painter_.HandY = g.PreviewTop + 4 * g.CellSize;
    painter_.ShowHand();
    for (int pass = 0; pass < 8; ++pass) {
        painter_.DarkenDiscardBox(75);
        Delay(40);
    }
    EndAnimation();
    painter_.HideHand();
    game_.ThrowAway();
    ShowCounters();
    DealNextTile();
}

void Tmainform::TryToLay(BlockPos block)
{
    if (!game_.AcceptedBalance(block)) {
        services_.PlayEffect(3);
        return;
    }
    painter_.HideHand();
    const LayOutcome outcome = game_.Lay(block);
    ShowCounters();
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy)
            painter_.DrawCell(2 * block.column + dx, 2 * block.row + dy, game_.Board.Cell(2 * block.column + dx, 2 * block.row + dy));
    Flush();
    if (outcome.fullSquare)
        WinLevel(*outcome.fullSquare);
    else
        services_.PlayEffect(2);
    ShowCounters();
    DealNextTile();
}

void Tmainform::WinLevel(BlockPos square)
{
    Timer.stop();
    services_.PlayEffect(1);
    for (int k = 0; k <= 8; ++k) {
        painter_.DrawSquare(square, k % 2 == 0);
        Delay(150);
    }
    EndAnimation();
    game_.AdvanceLevel();
    ShowCounters();
    AskMsg(8);
    SetUpLevel();
}

void Tmainform::MouseMove(int X, int Y)
{
    if (!game_.AcceptsPresses() || !game_.InHand)
        return;
    painter_.HideHand();
    painter_.HandX = X;
    painter_.HandY = Y;
    painter_.ShowHand();
    Flush();
}
