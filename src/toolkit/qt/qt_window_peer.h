#pragma once
#include "toolkit/peers.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace toolkit::qt {

class QtWindowPeer;

class PeerWidget : public QWidget {
  public:
    PeerWidget(QtWindowPeer* owner, Qt::WindowFlags flags)
        : QWidget(nullptr, flags), m_owner(owner) {}
    QtWindowPeer* m_owner;

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

class QtWindowPeer : public WindowPeer {
  public:
    QtWindowPeer(const WindowDesign& design, WindowSink& sink, double twipsPerPixel);
    ~QtWindowPeer() override;

    void setGeometry(float left, float top, float width, float height) override;
    void setBackColor(int32_t color) override;
    void setMousePointer(int16_t shape) override;
    void show() override;
    void showInactive() override;
    void hide() override;
    void setPassThrough(bool on) override;
    uintptr_t nativeHandle() const override;
    bool hasFocus() const override;
    void takeFocus() override;
    int popupMenu(const std::vector<std::string>& captions,
                  const std::optional<Point>& at) override;
    std::unique_ptr<ControlPeer> createControl(const ControlDesign& design, ControlSink& sink,
                                               ControlPeer* container) override;

    static QtWindowPeer* find(uintptr_t handle);
    QWidget* widget() const { return m_widget; }
    double tpp() const { return m_tpp; }

    // Pointer bookkeeping shared by the window surface and its controls.
    void pointerPressed(const QPoint& global);
    void pointerMoved(const QPoint& global);
    void pointerReleased();
    // A caption-style drag: armed by the press, started by the first motion so that a
    // double-click still reaches the control.
    void requestMove();
    bool moving() const { return m_manualMove || m_systemMove; }
    void setTopmost();

    // From the widget.
    void mouse(MouseKind kind, QMouseEvent* e);
    void geometryChanged();
    void closeRequested();
    bool escapeCloses() const { return m_escapeCloses; }
    void painted();

  private:
    void centreByFrame();
    void setFlag(Qt::WindowType flag, bool on);

    QPointer<PeerWidget> m_widget;
    WindowSink* m_sink;
    double m_tpp;
    bool m_fixedSize;
    bool m_showInTaskbar;
    bool m_centreOnShow;
    bool m_escapeCloses;
    bool m_shownBefore = false;
    bool m_centrePending = false;
    WId m_skipTaskbarDone = 0;
    bool m_applying = false;
    bool m_anchored = false;
    bool m_manualMove = false;
    bool m_systemMove = false;
    QPoint m_anchorCursor, m_anchorWindow, m_lastGlobal;
};

} // namespace toolkit::qt
