// A modal dialog of the program answered as a user does, once it shows: it
// may show only after the print server has been asked, the events running
// meanwhile, so it is looked for until it is there.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace vt::test {

// `answer` gets the dialog named `name`; OK is clicked after it unless it
// closed the dialog itself.
inline void AnswerDialog(const QString& name, std::function<void(QDialog&)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, name, answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != name) return;
        poll->stop();
        poll->deleteLater();
        answer(*dialog);
        if (dialog->isVisible())
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    poll->start();
}

}  // namespace vt::test
