#include "qt_accessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace toolkit::qt {

namespace {

// Qt describes a widget the first time anything asks, and keeps that description; ours takes its
// place while the widget is being made, before an assistive tool can have seen either.
void replace(QWidget* widget, QAccessibleInterface* ours) {
    if (QAccessibleInterface* theirs = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(theirs));
    QAccessible::registerAccessibleInterface(ours);
}

// An editable drop-down list: its entries and its edit field as Qt shows them, its name from its
// label as on every other system.
class ListAccessible : public QAccessibleWidget {
  public:
    explicit ListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    int childCount() const override { return 2; }
    QAccessibleInterface* child(int index) const override {
        QObject* part = index == 0   ? static_cast<QObject*>(list()->view())
                        : index == 1 ? list()->lineEdit()
                                     : nullptr;
        return part ? QAccessible::queryAccessibleInterface(part) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        if (child->object() == list()->view())
            return 0;
        return child->object() == list()->lineEdit() ? 1 : -1;
    }
    // The list takes the focus for its edit field, where the typing goes.
    QAccessibleInterface* focusChild() const override { return child(1); }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view()->isVisible();
        s.editable = true;
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

class LinkAccessible : public QAccessibleWidget {
  public:
    LinkAccessible(QLabel* label, std::function<void()> press)
        : QAccessibleWidget(label, QAccessible::Link), m_press(std::move(press)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }
    // After the request is answered: what the link opens may be a message box, whose loop would
    // keep the assistive tool waiting.
    void doAction(const QString& action) override {
        if (action == pressAction())
            QMetaObject::invokeMethod(widget(), m_press, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    std::function<void()> m_press;
};

} // namespace

void DescribeWindow(QWidget* window, bool dialog) {
    replace(window,
            new QAccessibleWidget(window, dialog ? QAccessible::Dialog : QAccessible::Window));
}

void DescribeList(QComboBox* list) {
    replace(list, new ListAccessible(list));
}

void DescribeLink(QLabel* label, std::function<void()> press) {
    replace(label, new LinkAccessible(label, std::move(press)));
}

void DescribeSeparator(QWidget* line) {
    replace(line, new QAccessibleWidget(line, QAccessible::Separator));
}

} // namespace toolkit::qt
