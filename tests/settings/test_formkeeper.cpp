// The window keeper on the offscreen platform: smallest size, restoring and
// saving the placement, and the opening effect's rectangles.
#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "tests/settings/StoreFixture.h"
#include "ui/keeper/ExplodeEffect.h"
#include "ui/keeper/FormKeeper.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <memory>

namespace {

// A stand-in for the main window at its designed client size.
std::unique_ptr<QWidget> MakeForm()
{
    auto form = std::make_unique<QWidget>();
    form->resize(701, 462);
    return form;
}

QRect ScreenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

QRect Desktop()
{
    return QGuiApplication::primaryScreen()->availableVirtualGeometry();
}

// Shows the window and lets the window system frame it.
void ShowFramed(QWidget& form)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents();
}

// The outer size the window may not go below: 640 x 480, where there is a
// frame; without one the designed height may stay below 480.
QSize SmallestOuter(const FormKeeper& keeper)
{
    return keeper.Frame().isNull() ? QSize(640, 462) : FormKeeper::SmallestOuterSize;
}

} // namespace

class TestFormKeeper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { store_.SetUpProcess(); }
    void init() { store_.Reset(); }

    void smallestSizeIsTheOuterSize();
    void restoresStoredRectangle_data();
    void restoresStoredRectangle();
    void absurdStoredRectangleFitsTheDesktop_data();
    void absurdStoredRectangleFitsTheDesktop();
    void centresWithoutValidValue_data();
    void centresWithoutValidValue();
    void restoreKeepsMaximisedState();
    void saveWritesPlacementAndDeletesCompanions();
    void saveOfMaximisedWindowKeepsNormalRectangle();
    void placementSurvivesARun();
    void withoutPlacesOnlyTheSizeIsRestored_data();
    void withoutPlacesOnlyTheSizeIsRestored();
    void effectIsSkippedHeadless();
    void effectRectanglesGrowAndVanish();

private:
    StoreFixture store_;
    TIniCtrl ini_;
};

void TestFormKeeper::smallestSizeIsTheOuterSize()
{
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    // The designed size is not changed before the frame is known.
    QCOMPARE(form->minimumSize(), QSize(0, 0));
    ShowFramed(*form);
    const QSize smallest = SmallestOuter(keeper);
    QCOMPARE(form->width(), 701);
    QCOMPARE(form->frameGeometry().height(), std::max(462 + form->frameGeometry().height() - form->height(),
                                                      smallest.height()));
    form->resize(300, 200);
    QCOMPARE(form->frameGeometry().size(), smallest);
    form->resize(700, 500);
    QCOMPARE(form->size(), QSize(700, 500));
}

void TestFormKeeper::restoresStoredRectangle_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("inside") << QStringLiteral("200,0,1,30,40,730,540") << QRect(30, 40, 700, 500);
    QTest::newRow("state in the value is ignored") << QStringLiteral("200,2,3,30,40,730,540") << QRect(30, 40, 700, 500);
}

// A window that lies on the desktop with its frame comes back exactly where
// it was: the stored client area keeps its meaning from run to run.
void TestFormKeeper::restoresStoredRectangle()
{
    QFETCH(QString, stored);
    QFETCH(QRect, expected);
    QVERIFY2(Desktop().width() >= 800 && Desktop().height() >= 560, "offscreen screen too small");

    ini_.WriteString(CommonSection(), FormKeeper::PlacementKey(), stored);
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    keeper.RestorePlacement();
    ShowFramed(*form);
    QCOMPARE(form->geometry(), expected);
    QVERIFY(!form->isMaximized());
}

void TestFormKeeper::absurdStoredRectangleFitsTheDesktop_data()
{
    QTest::addColumn<QString>("stored");
    // Which edges of the desktop the window's frame must touch.
    QTest::addColumn<Qt::Edges>("edges");
    const Qt::Edges all = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
    QTest::newRow("largest size a widget can have") << QStringLiteral("200,0,1,0,0,16777215,16777215") << all;
    QTest::newRow("a million") << QStringLiteral("200,0,1,0,0,1000000,1000000") << all;
    QTest::newRow("a hundred thousand") << QStringLiteral("200,0,1,0,0,100000,100000") << all;
    QTest::newRow("twelve thousand") << QStringLiteral("200,0,1,0,0,12000,12000") << all;
    QTest::newRow("a larger screen's") << QStringLiteral("200,0,1,0,0,2560,1440") << all;
    QTest::newRow("far off the top left") << QStringLiteral("200,0,1,-5000,-4000,-4300,-3500")
                                          << (Qt::LeftEdge | Qt::TopEdge);
    QTest::newRow("over the bottom right") << QStringLiteral("200,0,1,500,400,1200,900")
                                           << (Qt::RightEdge | Qt::BottomEdge);
    // Stored lower than the window can be: the taller window is kept on the desktop.
    QTest::newRow("too low, at the bottom") << QStringLiteral("200,0,1,40,450,740,600") << Qt::Edges(Qt::BottomEdge);
    QTest::newRow("too small, at the right") << QStringLiteral("200,0,1,700,20,800,120") << Qt::Edges(Qt::RightEdge);
    QTest::newRow("tall and wide, left of the desktop")
        << QStringLiteral("200,0,1,-3000,100,-2300,5000") << (Qt::LeftEdge | Qt::TopEdge | Qt::BottomEdge);
}

// Bounded to the available desktop, never below the smallest size, and kept
// on the desktop at the size it really has, frame included.
void TestFormKeeper::absurdStoredRectangleFitsTheDesktop()
{
    QFETCH(QString, stored);
    QFETCH(Qt::Edges, edges);
    ini_.WriteString(CommonSection(), FormKeeper::PlacementKey(), stored);
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    keeper.RestorePlacement();
    ShowFramed(*form);

    const QRect desktop = Desktop();
    const QRect outer = form->frameGeometry();
    QVERIFY2(desktop.contains(outer), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                    .arg(outer.x()).arg(outer.y()).arg(outer.width()).arg(outer.height())));
    QVERIFY(outer.width() >= SmallestOuter(keeper).width() && outer.height() >= SmallestOuter(keeper).height());
    QCOMPARE(outer.left() == desktop.left(), edges.testFlag(Qt::LeftEdge));
    QCOMPARE(outer.top() == desktop.top(), edges.testFlag(Qt::TopEdge));
    QCOMPARE(outer.right() == desktop.right(), edges.testFlag(Qt::RightEdge));
    QCOMPARE(outer.bottom() == desktop.bottom(), edges.testFlag(Qt::BottomEdge));
}

void TestFormKeeper::centresWithoutValidValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("none") << QString();
    QTest::newRow("six parts") << QStringLiteral("200,0,1,30,40,730");
    QTest::newRow("first part 100") << QStringLiteral("100,0,1,30,40,730,540");
    QTest::newRow("part not a number") << QStringLiteral("200,0,1,30,forty,730,540");
}

// Centred with its frame, at the designed width (the height may have grown
// to the smallest outer size).
void TestFormKeeper::centresWithoutValidValue()
{
    QFETCH(QString, stored);
    if (!stored.isNull())
        ini_.WriteString(CommonSection(), FormKeeper::PlacementKey(), stored);
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    keeper.RestorePlacement();
    ShowFramed(*form);

    const QRect screen = ScreenRect();
    const QRect outer = form->frameGeometry();
    QCOMPARE(form->width(), 701);
    QCOMPARE(outer.topLeft(), QPoint(screen.x() + (screen.width() - outer.width()) / 2,
                                     screen.y() + (screen.height() - outer.height()) / 2));
}

void TestFormKeeper::restoreKeepsMaximisedState()
{
    ini_.WriteString(CommonSection(), FormKeeper::PlacementKey(), QStringLiteral("200,0,1,30,40,730,540"));
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    form->setWindowState(Qt::WindowMaximized);
    keeper.RestorePlacement();
    form->show();
    QVERIFY(form->isMaximized());
    form->showNormal();
    QCOMPARE(form->geometry(), QRect(30, 40, 700, 500));
}

void TestFormKeeper::saveWritesPlacementAndDeletesCompanions()
{
    ini_.WriteString(CommonSection(), QStringLiteral("MainFormColor"), QStringLiteral("clSilver"));
    ini_.WriteString(CommonSection(), QStringLiteral("MainFormFont"), QStringLiteral("MS Sans Serif"));
    ini_.WriteString(CommonSection(), QStringLiteral("hs0"), QStringLiteral("kept"));

    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    form->setGeometry(100, 50, 700, 500);
    form->show();
    keeper.SavePlacement();

    QCOMPARE(ini_.ReadString(CommonSection(), QStringLiteral("MainForm"), QString()),
             QStringLiteral("200,0,1,100,50,800,550"));
    const QString gone = QStringLiteral("<gone>");
    QCOMPARE(ini_.ReadString(CommonSection(), QStringLiteral("MainFormColor"), gone), gone);
    QCOMPARE(ini_.ReadString(CommonSection(), QStringLiteral("MainFormFont"), gone), gone);
    QCOMPARE(ini_.ReadString(CommonSection(), QStringLiteral("hs0"), gone), QStringLiteral("kept"));
    QVERIFY(store_.errors.isEmpty());
}

void TestFormKeeper::saveOfMaximisedWindowKeepsNormalRectangle()
{
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    form->setGeometry(20, 30, 660, 490);
    form->show();
    form->showMaximized();
    QVERIFY(form->isMaximized());
    keeper.SavePlacement();
    QCOMPARE(ini_.ReadString(CommonSection(), QStringLiteral("MainForm"), QString()),
             QStringLiteral("200,2,3,20,30,680,520"));
}

void TestFormKeeper::placementSurvivesARun()
{
    {
        auto form = MakeForm();
        FormKeeper keeper(form.get(), ini_);
        keeper.RestorePlacement();
        ShowFramed(*form);
        form->setGeometry(12, 34, 656, 500);
        keeper.SavePlacement();
    }
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    keeper.RestorePlacement();
    ShowFramed(*form);
    QCOMPARE(form->geometry(), QRect(12, 34, 656, 500));
}

void TestFormKeeper::withoutPlacesOnlyTheSizeIsRestored_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QSize>("restored");
    // After the player made the window 660 x 490.
    QTest::addColumn<QString>("saved");
    QTest::newRow("inside") << QStringLiteral("200,0,1,30,40,730,540") << QSize(700, 500)
                            << QStringLiteral("200,0,1,30,40,690,530");
    QTest::newRow("larger than the desktop") << QStringLiteral("200,0,1,-5000,-4000,95000,96000") << Desktop().size()
                                             << QStringLiteral("200,0,1,-5000,-4000,-4340,-3510");
}

// Where the window system places the windows (Wayland), the stored size comes
// back, bounded to the desktop, and the stored place is written back as it
// was: the window's place there is not known, and a run under X11 still
// finds the window where it was left.
void TestFormKeeper::withoutPlacesOnlyTheSizeIsRestored()
{
    QFETCH(QString, stored);
    QFETCH(QSize, restored);
    QFETCH(QString, saved);
    ini_.WriteString(CommonSection(), FormKeeper::PlacementKey(), stored);
    auto form = MakeForm();
    form->move(300, 200);
    FormKeeper keeper(form.get(), ini_, false);
    keeper.RestorePlacement();
    QCOMPARE(form->pos(), QPoint(300, 200));
    QCOMPARE(form->size(), restored);

    ShowFramed(*form);
    form->resize(660, 490);
    keeper.SavePlacement();
    QCOMPARE(ini_.ReadString(CommonSection(), FormKeeper::PlacementKey(), QString()), saved);
}

void TestFormKeeper::effectIsSkippedHeadless()
{
    QVERIFY(!ExplodeEffect::Wanted());
    auto form = MakeForm();
    FormKeeper keeper(form.get(), ini_);
    form->show();
    QVERIFY(form->findChildren<ExplodeEffect*>().isEmpty());
}

void TestFormKeeper::effectRectanglesGrowAndVanish()
{
    const QPoint from(700, 500);
    const QRect to(100, 50, 400, 300);
    const int count = ExplodeEffect::RectangleCount;

    // From a point-sized rectangle at the pointer to exactly the window.
    QCOMPARE(ExplodeEffect::StepRect(from, to, 0), QRect(from, QSize(1, 1)));
    QCOMPARE(ExplodeEffect::StepRect(from, to, count), to);
    for (int index = 1; index <= count; ++index) {
        const QRect previous = ExplodeEffect::StepRect(from, to, index - 1);
        const QRect current = ExplodeEffect::StepRect(from, to, index);
        QVERIFY(current.width() >= previous.width() && current.height() >= previous.height());
    }

    ExplodeEffect effect(from, to);
    QVERIFY(effect.VisibleOutlines().isEmpty());

    // Halfway in, the first rectangles stand and the window's is not drawn yet.
    effect.SetStep(count / 2);
    const QRect first = ExplodeEffect::StepRect(from, to, 1);
    QVERIFY(effect.VisibleOutlines().contains(first.topLeft()));
    QVERIFY(!effect.VisibleOutlines().contains(to.topLeft()));

    // All drawn: the window's outline is there, its inside is not covered.
    effect.SetStep(count);
    QVERIFY(effect.VisibleOutlines().contains(to.topLeft()));
    QVERIFY(effect.VisibleOutlines().contains(to.bottomRight()));
    QVERIFY(!effect.VisibleOutlines().contains(to.center()));

    // Taking them away goes in the order they came: first drawn first gone.
    effect.SetStep(count + count / 2);
    QVERIFY(!effect.VisibleOutlines().contains(first.topLeft()));
    QVERIFY(effect.VisibleOutlines().contains(to.topLeft()));

    effect.SetStep(ExplodeEffect::LastStep);
    QVERIFY(effect.VisibleOutlines().isEmpty());
    QVERIFY(!effect.isVisible());
}

QTEST_MAIN(TestFormKeeper)
#include "test_formkeeper.moc"
