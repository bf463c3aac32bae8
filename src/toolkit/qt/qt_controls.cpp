#include "qt_controls.h"

#include "qt_accessible.h"
#include "qt_convert.h"
#include "qt_fonts.h"
#include "qt_window_peer.h"
#include "toolkit/units.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <limits>
#include <vector>

namespace toolkit::qt {

namespace {

// Enter presses the focused button, as Space does; no button answers Enter from elsewhere.
class PushButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
            (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(e);
    }
};

// A widget of any class that reports its pointer events to its peer and never shows its own
// context menu.
template <class Base> class Reporting : public Base {
  public:
    using Base::Base;
    QtControlPeer* m_peer = nullptr;

  protected:
    MouseArgs args(QMouseEvent* e, int16_t button) const {
        MouseArgs a;
        a.Button = button;
        a.Shift = ShiftMask(e->modifiers());
        a.X = ToTwips(qRound(e->position().x()), m_peer->tpp());
        a.Y = ToTwips(qRound(e->position().y()), m_peer->tpp());
        return a;
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (m_peer)
            m_peer->window().pointerPressed(e->globalPosition().toPoint());
        Base::mousePressEvent(e);
        if (m_peer && m_peer->sink())
            m_peer->sink()->nativeMouse(MouseKind::Down, args(e, ButtonCode(e->button())));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (m_peer)
            m_peer->window().pointerMoved(e->globalPosition().toPoint());
        if (m_peer && m_peer->sink())
            m_peer->sink()->nativeMouse(MouseKind::Move, args(e, ButtonMask(e->buttons())));
        // Once the window follows the pointer, the box must not select text as well.
        if (m_peer && !m_peer->window().moving())
            Base::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const bool moving = m_peer && m_peer->window().moving();
        if (m_peer)
            m_peer->window().pointerReleased();
        Base::mouseReleaseEvent(e);
        if (moving)
            return;
        if (m_peer && m_peer->sink()) {
            m_peer->sink()->nativeMouse(MouseKind::Up, args(e, ButtonCode(e->button())));
            if (m_peer && m_peer->sink() && e->button() == Qt::LeftButton &&
                this->rect().contains(e->position().toPoint()))
                m_peer->sink()->nativeClick();
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (m_peer)
            m_peer->window().pointerPressed(e->globalPosition().toPoint());
        Base::mouseDoubleClickEvent(e);
        if (m_peer && m_peer->sink() && e->button() == Qt::LeftButton)
            m_peer->sink()->nativeDblClick();
    }
    void contextMenuEvent(QContextMenuEvent* e) override {
        // The program's own context menu replaces every built-in edit menu.
        e->accept();
    }
    // The Menu key comes as a context menu event, which a box that prevents its own menu never
    // sees; Shift+F10 as a key.
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Keyboard) {
            contextMenuKey();
            return true;
        }
        return Base::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier) {
            contextMenuKey();
            return;
        }
        Base::keyPressEvent(e);
    }

  private:
    void contextMenuKey() {
        if (m_peer && m_peer->sink())
            m_peer->sink()->nativeContextMenuKey();
    }
};

using LineEdit = Reporting<QLineEdit>;
using PlainTextEdit = Reporting<QPlainTextEdit>;
using Label = Reporting<QLabel>;

std::vector<QtControlPeer*> g_controls;

QString toQtLines(const std::string& text) {
    QString s = Q(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string fromQtLines(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return S(s);
}

} // namespace

QtControlPeer::QtControlPeer(const ControlDesign& d, ControlSink& sink, QtWindowPeer& window,
                             QWidget* parent)
    : m_kind(d.kind), m_sink(&sink), m_window(window), m_autoSize(d.autoSize) {
    g_controls.push_back(this);
    QWidget* w = nullptr;
    switch (d.kind) {
    case ControlKind::TextBox:
        if (d.multiLine) {
            auto* e = new PlainTextEdit(parent);
            e->m_peer = this;
            e->setVerticalScrollBarPolicy(d.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                              : Qt::ScrollBarAsNeeded);
            m_connections << QObject::connect(e, &QPlainTextEdit::textChanged, e, [this, e] {
                if (!m_applying && m_sink)
                    m_sink->nativeTextEdited(fromQtLines(e->toPlainText()));
            });
            w = e;
        } else {
            auto* e = new LineEdit(parent);
            e->m_peer = this;
            e->setFrame(d.border);
            e->setContextMenuPolicy(Qt::PreventContextMenu);
            // The program sets no length limit; Qt's default would cut a longer text.
            e->setMaxLength(std::numeric_limits<int>::max());
            if (d.centred)
                e->setAlignment(Qt::AlignCenter);
            m_connections << QObject::connect(e, &QLineEdit::textEdited, e,
                                              [this](const QString& t) {
                                                  if (m_sink)
                                                      m_sink->nativeTextEdited(S(t));
                                              });
            w = e;
        }
        break;
    case ControlKind::Label: {
        auto* l = new Label(parent);
        l->m_peer = this;
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (d.link)
            DescribeLink(l, [l] {
                if (QtControlPeer* peer = QtControlPeer::of(l); peer && peer->sink())
                    peer->sink()->nativeClick();
            });
        w = l;
        break;
    }
    case ControlKind::ComboBox: {
        auto* c = new QComboBox(parent);
        c->setEditable(true);
        // Typed text is the value: never added to the list, never completed.
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        m_connections << QObject::connect(c, &QComboBox::editTextChanged, c,
                                          [this](const QString& t) {
                                              if (!m_applying && m_sink)
                                                  m_sink->nativeTextEdited(S(t));
                                          });
        DescribeList(c);
        w = c;
        break;
    }
    case ControlKind::Button: {
        auto* b = new PushButton(parent);
        b->setAutoDefault(false);
        m_connections << QObject::connect(b, &QPushButton::clicked, b, [this] {
            if (m_sink)
                m_sink->nativeClick();
        });
        w = b;
        break;
    }
    case ControlKind::Frame:
        w = new QGroupBox(parent);
        break;
    case ControlKind::PictureBox: {
        auto* l = new QLabel(parent);
        l->setFrameShape(d.border ? QFrame::Box : QFrame::NoFrame);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (!d.picture.empty())
            l->setPixmap(QPixmap(QStringLiteral(":/kelm/") + Q(d.picture)));
        w = l;
        break;
    }
    case ControlKind::Line:
        w = new QWidget(parent);
        w->setAutoFillBackground(true);
        DescribeSeparator(w);
        break;
    }
    m_widget = w;
    w->setToolTip(Q(d.toolTip));
    if (!d.accessibleName.empty())
        w->setAccessibleName(Q(d.accessibleName));
    if (d.font)
        setFont(*d.font);
    if (d.foreColor)
        m_hasFore = true, m_fore = *d.foreColor;
    if (d.backColor)
        m_hasBack = true, m_back = *d.backColor;
    applyColors();
    setText(d.text);
    if (d.kind == ControlKind::Line) {
        const double t = window.tpp();
        w->setGeometry(ToPixels(d.left, t), ToPixels(d.top, t),
                       std::max(1, ToPixels(d.width - d.left, t)),
                       std::max(1, ToPixels(d.height - d.top, t)));
    } else {
        setGeometry(d.left, d.top, d.width, d.height);
    }
    w->show();
}

QtControlPeer::~QtControlPeer() {
    std::erase(g_controls, this);
    m_sink = nullptr;
    // The widget outlives this peer until its window is deleted; it must not call back.
    for (const auto& c : std::as_const(m_connections))
        QObject::disconnect(c);
    if (!m_widget)
        return;
    if (auto* e = dynamic_cast<LineEdit*>(m_widget.data()))
        e->m_peer = nullptr;
    else if (auto* p = dynamic_cast<PlainTextEdit*>(m_widget.data()))
        p->m_peer = nullptr;
    else if (auto* l = dynamic_cast<Label*>(m_widget.data()))
        l->m_peer = nullptr;
}

QtControlPeer* QtControlPeer::find(const ControlSink* sink) {
    for (QtControlPeer* p : g_controls)
        if (p->m_sink == sink)
            return p;
    return nullptr;
}

QtControlPeer* QtControlPeer::of(const QWidget* widget) {
    for (QtControlPeer* p : g_controls)
        if (p->m_widget == widget)
            return p;
    return nullptr;
}

double QtControlPeer::tpp() const {
    return m_window.tpp();
}

void QtControlPeer::setGeometry(float left, float top, float width, float height) {
    if (m_kind == ControlKind::Line)
        return;
    const double t = tpp();
    m_widget->move(ToPixels(left, t), ToPixels(top, t));
    if (m_autoSize)
        m_widget->adjustSize();
    else
        m_widget->resize(ToPixels(width, t), ToPixels(height, t));
}

void QtControlPeer::setText(const std::string& text) {
    m_applying = true;
    const QString t = Q(text);
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->setText(t);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget))
        p->setPlainText(toQtLines(text));
    else if (auto* c = qobject_cast<QComboBox*>(m_widget))
        c->setEditText(t);
    else if (auto* b = qobject_cast<QPushButton*>(m_widget))
        b->setText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(m_widget))
        g->setTitle(t);
    else if (m_kind == ControlKind::Label) {
        static_cast<QLabel*>(m_widget.data())->setText(t);
        if (m_autoSize)
            m_widget->adjustSize();
    }
    m_applying = false;
}

void QtControlPeer::setFont(const Font& font) {
    QFont f(InstalledFace(Q(font.Name)));
    f.setPointSizeF(font.Size);
    f.setWeight(static_cast<QFont::Weight>(
        std::clamp(font.Bold ? std::max(font.Weight, 700) : font.Weight, 1, 1000)));
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.Strikethrough);
    m_widget->setFont(f);
    if (m_autoSize)
        m_widget->adjustSize();
}

void QtControlPeer::applyColors() {
    if (!m_hasFore && !m_hasBack)
        return;
    QPalette p = m_widget->palette();
    // The same colours in every state: a box disabled for a moment must not flash grey.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (m_hasFore) {
            p.setColor(group, QPalette::Text, ToQColor(m_fore));
            p.setColor(group, QPalette::WindowText, ToQColor(m_fore));
            p.setColor(group, QPalette::ButtonText, ToQColor(m_fore));
        }
        if (m_hasBack) {
            p.setColor(group, QPalette::Base, ToQColor(m_back));
            p.setColor(group, QPalette::Window, ToQColor(m_back));
        }
    }
    m_widget->setPalette(p);
    if (m_hasBack && m_kind == ControlKind::Line)
        m_widget->setAutoFillBackground(true);
}

void QtControlPeer::setForeColor(int32_t color) {
    m_hasFore = true;
    m_fore = color;
    applyColors();
}

void QtControlPeer::setBackColor(int32_t color) {
    m_hasBack = true;
    m_back = color;
    applyColors();
}

void QtControlPeer::setEnabled(bool enabled) {
    m_widget->setEnabled(enabled);
}

void QtControlPeer::setLabel(ControlPeer& label) {
    if (auto* l = qobject_cast<QLabel*>(static_cast<QtControlPeer&>(label).widget()))
        l->setBuddy(m_widget);
}

bool QtControlPeer::hasFocus() const {
    return m_widget->hasFocus();
}

void QtControlPeer::setFocus() {
    m_widget->setFocus(Qt::OtherFocusReason);
}

void QtControlPeer::addItem(const std::string& item) {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        m_applying = true;
        const QString text = c->currentText();
        c->addItem(Q(item));
        // Adding the first entry would otherwise replace the text being edited.
        c->setEditText(text);
        m_applying = false;
    }
}

std::unique_ptr<ControlPeer> MakeControlPeer(const ControlDesign& design, ControlSink& sink,
                                             QtWindowPeer& window, QWidget* parent) {
    return std::make_unique<QtControlPeer>(design, sink, window, parent);
}

} // namespace toolkit::qt
