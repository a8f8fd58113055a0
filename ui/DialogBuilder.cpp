#include "ui/DialogBuilder.h"

#include "assets/DlgRes.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/TexturedPanel.h"
#include "ui/toolkit/TransparentImage.h"

#include <QDialog>
#include <QLabel>

TexturedPanel* MakePanel(QWidget* parent, const QString& name, PanelGrade grade, const QRect& geometry)
{
    // Light granite fills a whole dialog; the darker grade carries the texts.
    const int face = grade == PanelGrade::Outer ? LightGranite : DarkGranite;
    auto* panel = new TexturedPanel(DlgResources->dlgs.Item(face), parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    return panel;
}

TexturedPanel* MakeBackPanel(QDialog& dialog, const QString& name, QSize size)
{
    dialog.setFixedSize(size);
    return MakePanel(&dialog, name, PanelGrade::Outer, QRect(QPoint(), size));
}

TransparentImage* MakeLogo(QWidget* backPanel)
{
    auto* logo = new TransparentImage(backPanel);
    logo->setObjectName(QStringLiteral("LogoImage"));
    logo->setGeometry(0, 12, 105, 77);
    logo->SetPicture(DlgResources->dlgs.Item(Cartoon), QColor(255, 0, 255));
    return logo;
}

QLabel* MakeCaption(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font,
                    Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

PictureButton* MakePictureButton(QWidget* parent, const QString& name, QPoint topLeft, const BitmapList& list,
                                  int up, int over, int disabled)
{
    auto* button = new PictureButton(parent);
    button->setObjectName(name);
    button->setGeometry(QRect(topLeft, QSize(PictureButton::ButtonSize, PictureButton::ButtonSize)));
    button->SetPictures(list.Item(up), list.Item(over), disabled >= 0 ? list.Item(disabled) : QImage());
    return button;
}
