#pragma once
// The one builder of the game's dialogs, so each window's layout reads as its
// table of controls: the back panel that fills the dialog, the cartoon logo
// in its corner, the darker inner panels that carry the texts, the white
// labels, and the picture buttons with their faces from a shared list.
#include <QFont>
#include <QPoint>
#include <QRect>

class QDialog;
class QLabel;
class QString;
class QWidget;
class BitmapList;
class PictureButton;
class TexturedPanel;
class TransparentImage;

enum class PanelGrade { Outer, Inner };

TexturedPanel* MakePanel(QWidget* parent, const QString& name, PanelGrade grade, const QRect& geometry);

// Fixes the dialog's size and fills it with the light granite panel.
TexturedPanel* MakeBackPanel(QDialog& dialog, const QString& name, QSize size);

// The cartoon in the top-left corner of a back panel.
TransparentImage* MakeLogo(QWidget* backPanel);

// A label that paints no background, white text in the given font.
QLabel* MakeCaption(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font,
                    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// A 50 x 50 picture button at `topLeft`; disabled < 0 means no own disabled face.
PictureButton* MakePictureButton(QWidget* parent, const QString& name, QPoint topLeft, const BitmapList& list,
                                  int up, int over, int disabled = -1);
