#pragma once
// A panel whose face is a granite picture repeated from its top-left corner,
// framed by a raised outer bevel (2 px), a black border (3 px) and a raised
// inner bevel (2 px). Children are placed in the panel's own coordinates,
// as everywhere else; the contents margins tell layouts where the frame ends.
#include <QImage>
#include <QPixmap>
#include <QWidget>

class TexturedPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int OuterBevelWidth = 2;
    static constexpr int BorderWidth = 3;
    static constexpr int InnerBevelWidth = 2;
    static constexpr int FrameWidth = OuterBevelWidth + BorderWidth + InnerBevelWidth;

    explicit TexturedPanel(QWidget* parent = nullptr);
    TexturedPanel(const QImage& face, QWidget* parent);

    void SetFace(const QImage& face);
    const QImage& Face() const { return face_; }

    // The colours of the bevels' lit and shaded edges.
    static QColor BevelLight();
    static QColor BevelShadow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage face_;
    QPixmap facePixmap_;
};
