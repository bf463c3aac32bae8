#pragma once
// The windows on the real Qt realisation, offscreen, each test with its own settings store.
#include "services/config.h"
#include "toolkit/window.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void seed(const FMain::Setting& setting, const std::string& text);
    std::optional<std::string> stored(const FMain::Setting& setting);
    // Makes every later store write fail.
    void breakStore();

    std::filesystem::path m_dir;
};

QWidget* WidgetOf(toolkit::Window& window);
template <class T> T* ChildOf(toolkit::Window& window) {
    return WidgetOf(window)->findChild<T*>();
}

// Clicks the item of an open pop-up menu, as a person would.
void ChooseMenuItem(QWidget* menu, int index);

// Runs `answer` on the next modal dialog or pop-up menu once its loop has started.
void AnswerNextModal(std::function<void(QWidget*)> answer);

// Answers a dialog if one opens while this object lives; forgets it otherwise.
class AnswerIfModal {
  public:
    explicit AnswerIfModal(std::function<void(QWidget*)> answer);
    ~AnswerIfModal();

  private:
    class QTimer* m_timer;
};

struct ShownMessage {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};
// Accepts the next message box and remembers what it said.
void AcceptNextMessage(ShownMessage& into);

// Names a table's rows after their `name` field.
template <class Row> std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    std::string n = info.param.name;
    for (char& c : n)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return n;
}
