#include "shell/text_box_events.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "report/identity_checks.h"
#include "shell/guard.h"
#include "shell/text.h"

namespace vt::gui {
namespace {

class FocusWatcher : public QObject {
public:
    FocusWatcher(QLineEdit* box, std::function<void()> gained, std::function<void()> lost)
        : QObject(box), gained_(std::move(gained)), lost_(std::move(lost)) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && gained_) {
            gained_();
        } else if (event->type() == QEvent::FocusOut && lost_) {
            const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
            if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) RunGuarded(lost_);
        }
        return false;
    }

private:
    std::function<void()> gained_, lost_;
};

// Set on a box that arrives holding what the user typed elsewhere.
constexpr const char* kArrivesTyping = "arrivesTyping";

}  // namespace

void SelectAllOnFocus(QLineEdit* box) {
    new FocusWatcher(box,
                     [box] {
                         // What was typed on the way here stands, and the
                         // next key goes on after it.
                         if (box->property(kArrivesTyping).toBool()) {
                             box->setProperty(kArrivesTyping, false);
                             box->deselect();
                             box->end(false);
                             return;
                         }
                         // After the click that brought the focus has placed the cursor.
                         QPointer<QLineEdit> guard(box);
                         QTimer::singleShot(0, box, [guard] {
                             if (guard && guard->hasFocus()) guard->selectAll();
                         });
                         box->selectAll();
                     },
                     nullptr);
}

void ArriveTyping(QLineEdit* box, const QString& typed) {
    if (typed.isEmpty()) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return;
    }
    box->setText(typed);
    box->setProperty(kArrivesTyping, !box->hasFocus());
    box->setFocus(Qt::OtherFocusReason);
}

void OnLostFocus(QLineEdit* box, std::function<void()> rule) { new FocusWatcher(box, nullptr, std::move(rule)); }

QLineEdit* AddEntryRow(QGridLayout* grid, QWidget* owner, int row, QLabel*& label, const char* labelName,
                         const char* caption, const char* boxName) {
    label = new QLabel(caption, owner);
    label->setObjectName(labelName);
    auto* box = new QLineEdit(owner);
    box->setObjectName(boxName);
    label->setBuddy(box);
    grid->addWidget(label, row, 0, Qt::AlignRight);
    grid->addWidget(box, row, 1);
    SelectAllOnFocus(box);
    return box;
}

QPushButton* DialogButton(QWidget* owner, const char* name, const char* caption) {
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(name);
    return b;
}

void FitButtonText(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    const QSize text(button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin,
                     button->fontMetrics().height());
    button->setMinimumWidth(button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button).width());
}

void LayOutDialog(QWidget* dialog, QLayout* body, std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons) row->addWidget(b);
    auto* box = new QVBoxLayout(dialog);
    box->addLayout(body);
    box->addLayout(row);
}

void WideEnoughForCaption(QWidget* dialog) {
    QFont bold = dialog->font();
    bold.setBold(true);
    const QFontMetrics title(bold);
    // The icon and three buttons (minimize, maximize, close) with their spacing.
    const int frame = 8 * title.height();
    dialog->setMinimumWidth(std::max(dialog->minimumWidth(), title.horizontalAdvance(dialog->windowTitle()) + frame));
}

void LeaveFYStartBoxes(QLineEdit* txtFYStart, QLineEdit* txtFYEnd) {
    std::string start = S(txtFYStart->text()), end = S(txtFYEnd->text());
    LeaveFYStart(start, end);
    txtFYStart->setText(Q(start));
    txtFYEnd->setText(Q(end));
}

}  // namespace vt::gui
