// The window keeper on the offscreen platform: smallest size, restoring and
// saving the placement, and the opening effect's rectangles.
#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "tests/settings/StoreFixture.h"
#include "ui/keeper/TExplodeEffect.h"
#include "ui/keeper/TFormKeeper.h"

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

} // namespace

class TestFormKeeper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_store.SetUpProcess(); }
    void init() { m_store.Reset(); }

    void keepsTheSmallestSize();
    void restoresStoredRectangle_data();
    void restoresStoredRectangle();
    void centresWithoutValidValue_data();
    void centresWithoutValidValue();
    void restoreKeepsMaximisedState();
    void saveWritesPlacementAndDeletesCompanions();
    void saveOfMaximisedWindowKeepsNormalRectangle();
    void placementSurvivesARun();
    void effectIsSkippedHeadless();
    void effectRectanglesGrowAndVanish();

private:
    StoreFixture m_store;
    TIniCtrl m_ini;
};

void TestFormKeeper::keepsTheSmallestSize()
{
    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    // Before the first showing the frame is unknown and counts as nothing.
    QCOMPARE(form->minimumSize(), QSize(640, 480));
    form->show();
    // Once shown, the frame's share is taken off: the outer size is the limit.
    form->resize(300, 200);
    QCOMPARE(form->frameGeometry().size(), QSize(640, 480));
    form->resize(700, 500);
    QCOMPARE(form->size(), QSize(700, 500));
}

void TestFormKeeper::restoresStoredRectangle_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("inside") << QStringLiteral("200,0,1,30,40,730,540") << QRect(30, 40, 700, 500);
    QTest::newRow("state in the value is ignored") << QStringLiteral("200,2,3,30,40,730,540") << QRect(30, 40, 700, 500);
    QTest::newRow("off the left edge") << QStringLiteral("200,0,1,-50,10,750,510") << QRect(0, 10, 800, 500);
}

void TestFormKeeper::restoresStoredRectangle()
{
    QFETCH(QString, stored);
    QFETCH(QRect, expected);
    QVERIFY2(ScreenRect().width() >= 800 && ScreenRect().height() >= 540, "offscreen screen too small");

    m_ini.WriteString(CommonSection(), TFormKeeper::PlacementKey(), stored);
    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    keeper.RestorePlacement();
    form->show();
    QCOMPARE(form->geometry(), expected);
    QVERIFY(!form->isMaximized());
}

void TestFormKeeper::centresWithoutValidValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("none") << QString();
    QTest::newRow("six parts") << QStringLiteral("200,0,1,30,40,730");
    QTest::newRow("first part 100") << QStringLiteral("100,0,1,30,40,730,540");
    QTest::newRow("part not a number") << QStringLiteral("200,0,1,30,forty,730,540");
}

void TestFormKeeper::centresWithoutValidValue()
{
    QFETCH(QString, stored);
    if (!stored.isNull())
        m_ini.WriteString(CommonSection(), TFormKeeper::PlacementKey(), stored);
    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    const QSize size = form->size();
    keeper.RestorePlacement();
    form->show();

    const QRect screen = ScreenRect();
    QCOMPARE(form->size(), size);
    QCOMPARE(form->geometry().topLeft(), QPoint(screen.x() + (screen.width() - size.width()) / 2,
                                 screen.y() + (screen.height() - size.height()) / 2));
}

void TestFormKeeper::restoreKeepsMaximisedState()
{
    m_ini.WriteString(CommonSection(), TFormKeeper::PlacementKey(), QStringLiteral("200,0,1,30,40,730,540"));
    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    form->setWindowState(Qt::WindowMaximized);
    keeper.RestorePlacement();
    form->show();
    QVERIFY(form->isMaximized());
    form->showNormal();
    QCOMPARE(form->geometry(), QRect(30, 40, 700, 500));
}

void TestFormKeeper::saveWritesPlacementAndDeletesCompanions()
{
    m_ini.WriteString(CommonSection(), QStringLiteral("MainFormColor"), QStringLiteral("clSilver"));
    m_ini.WriteString(CommonSection(), QStringLiteral("MainFormFont"), QStringLiteral("MS Sans Serif"));
    m_ini.WriteString(CommonSection(), QStringLiteral("hs0"), QStringLiteral("kept"));

    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    form->setGeometry(100, 50, 700, 500);
    form->show();
    keeper.SavePlacement();

    QCOMPARE(m_ini.ReadString(CommonSection(), QStringLiteral("MainForm"), QString()),
             QStringLiteral("200,0,1,100,50,800,550"));
    const QString gone = QStringLiteral("<gone>");
    QCOMPARE(m_ini.ReadString(CommonSection(), QStringLiteral("MainFormColor"), gone), gone);
    QCOMPARE(m_ini.ReadString(CommonSection(), QStringLiteral("MainFormFont"), gone), gone);
    QCOMPARE(m_ini.ReadString(CommonSection(), QStringLiteral("hs0"), gone), QStringLiteral("kept"));
    QVERIFY(m_store.errors.isEmpty());
}

void TestFormKeeper::saveOfMaximisedWindowKeepsNormalRectangle()
{
    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    form->setGeometry(20, 30, 660, 490);
    form->show();
    form->showMaximized();
    QVERIFY(form->isMaximized());
    keeper.SavePlacement();
    QCOMPARE(m_ini.ReadString(CommonSection(), QStringLiteral("MainForm"), QString()),
             QStringLiteral("200,2,3,20,30,680,520"));
}

void TestFormKeeper::placementSurvivesARun()
{
    {
        auto form = MakeForm();
        TFormKeeper keeper(form.get(), m_ini);
        keeper.RestorePlacement();
        form->show();
        form->setGeometry(12, 34, 656, 500);
        keeper.SavePlacement();
    }
    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    keeper.RestorePlacement();
    form->show();
    QCOMPARE(form->geometry(), QRect(12, 34, 656, 500));
}

void TestFormKeeper::effectIsSkippedHeadless()
{
    QVERIFY(!TExplodeEffect::Wanted());
    auto form = MakeForm();
    TFormKeeper keeper(form.get(), m_ini);
    form->show();
    QVERIFY(form->findChildren<TExplodeEffect*>().isEmpty());
}

void TestFormKeeper::effectRectanglesGrowAndVanish()
{
    const QPoint from(700, 500);
    const QRect to(100, 50, 400, 300);
    const int count = TExplodeEffect::RectangleCount;

    // From a point-sized rectangle at the pointer to exactly the window.
    QCOMPARE(TExplodeEffect::StepRect(from, to, 0), QRect(from, QSize(1, 1)));
    QCOMPARE(TExplodeEffect::StepRect(from, to, count), to);
    for (int index = 1; index <= count; ++index) {
        const QRect previous = TExplodeEffect::StepRect(from, to, index - 1);
        const QRect current = TExplodeEffect::StepRect(from, to, index);
        QVERIFY(current.width() >= previous.width() && current.height() >= previous.height());
    }

    TExplodeEffect effect(from, to);
    QVERIFY(effect.VisibleOutlines().isEmpty());

    // Halfway in, the first rectangles stand and the window's is not drawn yet.
    effect.SetStep(count / 2);
    const QRect first = TExplodeEffect::StepRect(from, to, 1);
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

    effect.SetStep(TExplodeEffect::LastStep);
    QVERIFY(effect.VisibleOutlines().isEmpty());
    QVERIFY(!effect.isVisible());
}

QTEST_MAIN(TestFormKeeper)
#include "test_formkeeper.moc"
