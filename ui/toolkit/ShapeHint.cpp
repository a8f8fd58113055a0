#include "ui/toolkit/ShapeHint.h"

#include "ui/toolkit/ToolkitFonts.h"

#include <QApplication>
#include <QPalette>
#include <QToolTip>

QFont ShapeHint::HintFont()
{
    return ArialFont(13);
}

QString ShapeHint::StyleSheet()
{
    const QPalette palette = QToolTip::palette();
    return QStringLiteral("QToolTip { border: 1px solid black; padding: 1px 2px; color: %1; background-color: %2;"
                          " font-family: Arial; font-size: 13px; }")
        .arg(palette.color(QPalette::ToolTipText).name(), palette.color(QPalette::ToolTipBase).name());
}

void ShapeHint::Install(QApplication& app)
{
    QToolTip::setFont(HintFont());
    const QString rule = StyleSheet();
    // Installing twice (tests make several windows) must not stack the rule.
    if (!app.styleSheet().contains(rule))
        app.setStyleSheet(app.styleSheet() + QLatin1Char('\n') + rule);
}
