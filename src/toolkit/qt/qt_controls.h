#pragma once
#include "toolkit/peers.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace toolkit::qt {

class QtWindowPeer;

// One peer class for every control kind: the widget differs, the mirroring of state does not.
class QtControlPeer : public ControlPeer {
  public:
    QtControlPeer(const ControlDesign& design, ControlSink& sink, QtWindowPeer& window,
                  QWidget* parent);
    ~QtControlPeer() override;

    void setGeometry(float left, float top, float width, float height) override;
    void setText(const std::string& text) override;
    void setFont(const Font& font) override;
    void setForeColor(int32_t color) override;
    void setBackColor(int32_t color) override;
    void setEnabled(bool enabled) override;
    void addItem(const std::string& item) override;
    void setLabel(ControlPeer& label) override;
    bool hasFocus() const override;
    void setFocus() override;

    // The peer that reports to `sink`, or the one of a widget, if it still exists.
    static QtControlPeer* find(const ControlSink* sink);
    static QtControlPeer* of(const QWidget* widget);
    QWidget* widget() const { return m_widget; }
    ControlSink* sink() const { return m_sink; }
    QtWindowPeer& window() const { return m_window; }
    double tpp() const;
    bool applying() const { return m_applying; }

  private:
    void applyColors();
    ControlKind m_kind;
    ControlSink* m_sink;
    QtWindowPeer& m_window;
    QPointer<QWidget> m_widget;
    QList<QMetaObject::Connection> m_connections;
    bool m_autoSize;
    bool m_applying = false;
    bool m_hasFore = false, m_hasBack = false;
    int32_t m_fore = 0, m_back = 0;
};

std::unique_ptr<ControlPeer> MakeControlPeer(const ControlDesign& design, ControlSink& sink,
                                             QtWindowPeer& window, QWidget* parent);

} // namespace toolkit::qt
