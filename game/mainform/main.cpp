// The main window: creation, layout, drawing, and the board's presses and
// moves, which go to the game flow.
#include "game/mainform/main.h"

#include <QApplication>

#include "assets/DlgRes.h"
#include "assets/MainFormAssets.h"
#include "assets/ProgramIcon.h"
#include "game/mainform/BoardDescription.h"
#include "settings/Globals.h"
#include "settings/ProgramSettings.h"
#include "ui/keeper/FormKeeper.h"
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

PressButton ToPressButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return PressButton::Left;
    case Qt::RightButton:
        return PressButton::Right;
    default:
        return PressButton::Middle; // any other button only picks up, as the middle one
    }
}
} // namespace

Tmainform::Tmainform(MainServices& services, std::unique_ptr<RandomSource> random)
    : bmps(MainFormBitmaps()),
      box(new PaintBox(this)),
      ToolBox(new PaintBox(this)),
      masks(MaskPicture()),
      waves(MainFormWaves()),
      pats(PatternPicture()),
      services_(services),
      random_(random ? std::move(random) : std::make_unique<UniformRandom>(UniformRandom::FromClock())),
      flow_(*random_, services, *this),
      textureSheet_(bmps.Item(TextureSheet).convertToFormat(QImage::Format_RGB32)),
      painter_(box->Canvas(), textureSheet_, masks, pats),
      accessibility_(*box, BoardReading{[this] { return DescribeBoard(flow_, German()); },
                                         [this] { return Game().TimeLeft(); },
                                         [this] { return painter_.TimeBarRect(); }})
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
    ToolBox->setFocusPolicy(Qt::NoFocus);
    box->setGeometry(0, ToolBoxHeight, DesignClientWidth, DesignClientHeight - ToolBoxHeight);
    box->OnMouseDown = [this](Qt::MouseButton button, int x, int y) { boxMouseDown(button, x, y); };
    box->OnMouseMove = [this](int x, int y) { MouseMove(x, y); };
    box->OnKeyDown = [this](const QKeyEvent& event) { return boxKeyDown(event); };
    box->OnFocusChange = [this] { Sync(); };
    box->OnScaleChange = [this] { Resize(); };

    // Stacking order from the bottom: the paint boxes, then labels and buttons over the strip.
    ScoLabel = MakeLabel(this, 292, 8, QStringLiteral("Punkte:"), CaptionFont(11), CaptionColor);
    auto button = [this](int left, void (Tmainform::*handler)()) {
        auto* b = new PictureButton(this);
        b->setGeometry(left, 4, PictureButton::ButtonSize, PictureButton::ButtonSize);
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

    StartBtn->SetPictures(bmps.Item(RocketUp), bmps.Item(RocketOver), bmps.Item(RocketDisabled));
    PauseBtn->SetPictures(bmps.Item(CupUp), bmps.Item(CupOver), bmps.Item(CupDisabled));
    HighScoreBtn->SetPictures(bmps.Item(TrophyUp), bmps.Item(TrophyOver), bmps.Item(TrophyDisabled));
    BindDialogPictures();

    FormKeeper1 = new FormKeeper(this, ini);
    Timer.setInterval(500);
    connect(&Timer, &QTimer::timeout, this, &Tmainform::TimerTimer);
    // The animations' frames and the refusal sign, as the flow asks for them.
    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        flow_.TimerDue(FlowTimer::AnimationFrame);
        Sync();
    });
    cueTimer_.setSingleShot(true);
    connect(&cueTimer_, &QTimer::timeout, this, [this] {
        flow_.TimerDue(FlowTimer::RefusalCue);
        Sync();
    });
    CreateShortcuts();
    setFocusProxy(box);
    box->setFocus();
}

void Tmainform::BindDialogPictures()
{
    if (!DlgResources)
        return;
    const BitmapList& btns = DlgResources->btns;
    // These have no grey face: disabled, they look as they do up.
    OptionBtn->SetPictures(btns.Item(ToolsUp), btns.Item(ToolsOver), btns.Item(ToolsUp));
    InfoBtn->SetPictures(btns.Item(InfoUp), btns.Item(InfoOver), btns.Item(InfoUp));
    RulesBtn->SetPictures(btns.Item(QuestionMarkUp), btns.Item(QuestionMarkOver), btns.Item(QuestionMarkUp));
    ExitBtn->SetPictures(btns.Item(DoorUp), btns.Item(DoorOver), btns.Item(DoorUp));
}

void Tmainform::FormCreate()
{
    FirstShow = true;
    setWindowTitle(QStringLiteral("Tangrix V2.1"));
    CreateControls();
    resize(DesignClientWidth, DesignClientHeight);

    int backMode = 0;
    ReadProgramSettings(ini, backMode);
    painter_.BackMode = backMode;
    services_.MusicStartUp();
    // The generator was seeded from the clock when it was made.

    box->ResizeCanvas();
    ToolBox->ResizeCanvas();
    painter_.ComputeLayout(box->width(), box->height());
    flow_.SetGeometry(painter_.Geometry());
    ApplyLanguage();
    NewGame();
}

void Tmainform::RestorePlacement()
{
    FormKeeper1->RestorePlacement();
}

void Tmainform::FormDestroy()
{
    // The widgets outlive this window's own members by a moment: nothing of
    // theirs may call back into it any more.
    box->OnMouseDown = nullptr;
    box->OnMouseMove = nullptr;
    box->OnKeyDown = nullptr;
    box->OnFocusChange = nullptr;
    box->OnScaleChange = nullptr;
    Timer.stop();
    frameTimer_.stop();
    cueTimer_.stop();
    FormKeeper1->SavePlacement();
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
    painter_.Resize(form.width(), form.height());
    flow_.SetGeometry(painter_.Geometry());
    ToolBoxPaint();
    Paint();
}

BoardScene Tmainform::Scene() const
{
    BoardScene scene = flow_.Scene();
    scene.focused = box->hasFocus();
    return scene;
}

bool Tmainform::Restore(const GamePosition& position)
{
    const bool restored = flow_.Restore(position);
    Sync();
    return restored;
}

void Tmainform::Paint()
{
    painter_.Paint(Scene());
    box->Flush();
}

void Tmainform::ToolBoxPaint()
{
    painter_.ToolBoxPaint(ToolBox->Canvas(), width());
    ToolBox->Flush();
    ShowCounters();
}

void Tmainform::Sync()
{
    painter_.Sync(Scene());
    box->Flush();
    ShowCounters();
    PauseBtn->setEnabled(flow_.PauseEnabled());
    if (flow_.ClockRunning())
        EnableTimer();
    else
        Timer.stop();
    accessibility_.Follow();
}

void Tmainform::FocusBoard()
{
    if (isVisible())
        box->setFocus(Qt::OtherFocusReason);
}

// --- the flow's view ---------------------------------------------------------------

void Tmainform::Refresh()
{
    Sync();
}

void Tmainform::Schedule(FlowTimer timer, int milliseconds)
{
    (timer == FlowTimer::AnimationFrame ? frameTimer_ : cueTimer_).start(milliseconds);
}

void Tmainform::CloseConfirmed()
{
    // Closed from the event loop, not from inside the flow's handler.
    closeConfirmed_ = true;
    QTimer::singleShot(0, this, &QWidget::close);
}

void Tmainform::LanguageChosen()
{
    ApplyLanguage();
}

void Tmainform::FinishAnimation()
{
    while (flow_.Animation()) {
        frameTimer_.stop();
        flow_.TimerDue(FlowTimer::AnimationFrame);
        Sync();
    }
}

// --- the board -------------------------------------------------------------------

void Tmainform::NewGame()
{
    flow_.NewGame();
    Sync();
}

void Tmainform::boxMouseDown(Qt::MouseButton button, int X, int Y)
{
    flow_.Press(ToPressButton(button), X, Y);
    Sync();
}

void Tmainform::MouseMove(int X, int Y)
{
    flow_.Move(X, Y);
    Sync();
}
