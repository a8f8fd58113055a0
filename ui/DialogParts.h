#pragma once
// Small builders for the pieces the high-score and options windows are made
// of, so each window's layout reads as its table of controls: a textured
// panel of a given grade, a transparent white caption, a picture button with
// its faces from one of the shared picture lists.
#include <QFont>
#include <QRect>

class QLabel;
class QString;
class QWidget;
class TBitmapList;
class TPictureButton;
class TTexturedPanel;

enum class PanelGrade { Outer, Inner };

TTexturedPanel* MakePanel(QWidget* parent, const QString& name, PanelGrade grade, const QRect& geometry);

// A label that paints no background, white text in the given font.
QLabel* MakeCaption(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font,
                    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// A 50 x 50 picture button at `topLeft`; disabled < 0 means no own disabled face.
TPictureButton* MakePictureButton(QWidget* parent, const QString& name, QPoint topLeft, const TBitmapList& list,
                                  int up, int over, int disabled = -1);
