// A modal dialog of the program answered as a user does, once it shows (it
// may show only after the print server has been asked, events running
// meanwhile): `answer` gets the dialog named `name`, then OK is clicked
// unless the answer closed it.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace vt::test {

inline void AnswerDialog(const QString& name, std::function<void(QDialog&)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name, answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != name) return;
        poll->deleteLater();
        poll->stop();
        answer(*dialog);
        if (dialog->isVisible())
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    poll->start(10);
}

}  // namespace vt::test
