#include "qt_dialogs.h"

#include "qt_convert.h"
#include "qt_fonts.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QStringListModel>

namespace toolkit::qt {

namespace {

// A font dialog that, like one with a size limit and "font must exist", will not close on OK
// until the choice is within the limits.
class LimitedFontDialog : public QFontDialog {
  public:
    LimitedFontDialog(int minPoints, int maxPoints) : m_min(minPoints), m_max(maxPoints) {
        setOption(QFontDialog::DontUseNativeDialog);
        setWindowTitle(QStringLiteral("字体"));
        limitSizes();
    }

    void done(int result) override {
        if (result == QDialog::Accepted) {
            const QFont font = currentFont();
            const double points = font.pointSizeF();
            if (points < m_min || points > m_max) {
                QMessageBox::information(
                    this, windowTitle(),
                    QStringLiteral("大小必须介于 %1 和 %2 之间。").arg(m_min).arg(m_max));
                return;
            }
            if (!QFontDatabase::families().contains(font.family())) {
                QMessageBox::information(this, windowTitle(),
                                         QStringLiteral("没有该名称的字体。请从列表中选择字体。"));
                return;
            }
        }
        QFontDialog::done(result);
    }

  private:
    // The dialog refills its list of sizes for every face and style: hide those beyond the
    // limits (removing them would shift the row it selects next), and let the size box take no
    // more than they allow.
    void limitSizes() {
        for (auto* edit : findChildren<QLineEdit*>())
            if (!edit->isReadOnly() && edit->validator())
                edit->setValidator(new QIntValidator(m_min, m_max, edit));
        for (auto* view : findChildren<QListView*>()) {
            auto* model = qobject_cast<QStringListModel*>(view->model());
            if (!model || !isSizeList(model))
                continue;
            auto hide = [this, model, view] {
                for (int row = 0; row < model->rowCount(); ++row) {
                    const int points = model->index(row).data().toInt();
                    view->setRowHidden(row, points < m_min || points > m_max);
                }
            };
            connect(model, &QAbstractItemModel::modelReset, this, hide);
            hide();
        }
    }
    static bool isSizeList(const QStringListModel* model) {
        for (const QString& s : model->stringList()) {
            bool number = false;
            s.toInt(&number);
            if (!number)
                return false;
        }
        return model->rowCount() > 0;
    }

    int m_min, m_max;
};

} // namespace

// The program may unload the owner inside the dialog's loop, and the dialog goes with it.
std::optional<int32_t> ChooseColor(QWidget* owner) {
    const QPointer<QColorDialog> dialog = new QColorDialog(owner);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    // Nothing is remembered between calls: no preselected colour, black custom colours.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(0, 0, 0));
    dialog->setCurrentColor(QColor(0, 0, 0));
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return std::nullopt;
    const QColor chosen = dialog->selectedColor();
    delete dialog;
    if (!accepted)
        return std::nullopt;
    return FromQColor(chosen);
}

std::optional<FontChoice> ChooseFont(const FontSeed& seed) {
    // A face that is not installed opens the dialog on the face that is drawn in its place;
    // confirming that face unchanged keeps the name the program asked for.
    const QString asked = Q(seed.font.Name);
    QString family = InstalledFace(asked);
    if (!QFontDatabase::families().contains(family))
        family = QFontInfo(QFont(family)).family();
    QFont font(family);
    font.setPointSize(seed.points > 0 ? seed.points : 1);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(seed.font.Weight, 1, 1000)));
    font.setItalic(seed.font.Italic);
    font.setUnderline(seed.font.Underline);
    font.setStrikeOut(seed.font.Strikethrough);
    LimitedFontDialog dialog(seed.minPoints, seed.maxPoints);
    dialog.setCurrentFont(font);
    bool faceChosen = false;
    QObject::connect(&dialog, &QFontDialog::currentFontChanged, &dialog,
                     [&](const QFont& f) { faceChosen = faceChosen || f.family() != family; });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    return FontChoice{S(faceChosen ? chosen.family() : asked), chosen.pointSizeF()};
}

} // namespace toolkit::qt
