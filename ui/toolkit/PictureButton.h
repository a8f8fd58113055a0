#pragma once
// A 50 x 50 button without caption that shows one picture per state: up,
// mouse-over (while the mouse is over the enabled button) and disabled. A
// pressed button shows its up picture. The face is drawn with its transparent
// colour left out, so the button looks round-cornered over whatever lies behind.
// It takes the keyboard focus by Tab only, and then Space presses it; Enter
// is left to the window (a dialog's Enter closes it, whatever has the focus).
#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <optional>

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Face { Up, Over, Disabled };
    static constexpr int ButtonSize = 50;

    explicit PictureButton(QWidget* parent = nullptr);

    // A null picture for `over` or `disabled` falls back to the up picture.
    void SetPictures(const QImage& up, const QImage& over, const QImage& disabled = QImage());
    // Default white. Each picture is masked once, here or in SetPictures.
    void SetTransparentColor(QColor color);
    QColor TransparentColor() const { return transparent_; }

    // The hint shows as a tool tip while hints are on. Screen readers
    // announce the button by its name, or by its hint while it has none.
    void SetHint(const QString& hint);
    QString Hint() const { return hint_; }
    void SetShowHint(bool show);
    bool ShowHint() const { return showHint_; }
    void SetName(const QString& name);
    // A button that switches a setting on and off: screen readers hear it as
    // a check box, ticked while the setting is on. What a press does stays
    // the owner's, by the clicked signal, also when a screen reader presses.
    void SetSwitchState(bool on);
    std::optional<bool> SwitchState() const { return switchState_; }

    // The picture the button shows now.
    Face ShownFace() const;
    bool MouseOver() const { return mouseOver_; }

    QSize sizeHint() const override { return {ButtonSize, ButtonSize}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void RebuildFaces();
    void ApplyHint();
    const QPixmap& FacePixmap(Face face) const;

    QImage upPicture_, overPicture_, disabledPicture_;
    QPixmap upFace_, overFace_, disabledFace_;
    QColor transparent_ = Qt::white;
    QString hint_;
    QString name_;
    std::optional<bool> switchState_;
    bool showHint_ = true;
    bool mouseOver_ = false;
};
