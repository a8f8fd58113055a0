#pragma once
// A caption on a transparent background with a raised look: the text is drawn
// first offset by its depth in the shadow colour, then in its own colour. It
// can be turned a quarter to read upwards, anchored at the bottom left, for
// the tall narrow name labels beside the dialogs' panels.
#include <QColor>
#include <QString>
#include <QWidget>

class RaisedLabel : public QWidget {
    Q_OBJECT
public:
    explicit RaisedLabel(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

    // Turned: reads from the bottom upwards, the text's top against the left edge.
    void SetTurned(bool turned);
    bool Turned() const { return turned_; }

    void SetTextColor(QColor color);
    void SetShadowColor(QColor color);
    // Offset of the shadow copy in pixels, down and to the right; 0 for flat text.
    void SetDepth(int depth);
    // Placement of an unturned caption inside the label.
    void SetAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    bool turned_ = false;
    QColor textColor_ = Qt::white;
    QColor shadowColor_ = Qt::black;
    int depth_ = 2;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
};
