#include "app/MessageBox.h"
#include "config/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace lexifol {

void InstallMessageBoxes()
{
    SetMessageHandler([](const Message& m) {
        QWidget* owner = m.owner ? m.owner : QApplication::activeWindow();
        QMessageBox box(m.icon == MsgIcon::Error ? QMessageBox::Critical : QMessageBox::Information, m.caption, m.text,
                        QMessageBox::Ok, owner);
        box.exec();
    });
    SetQuestionHandler([](const Message& m) {
        QWidget* owner = m.owner ? m.owner : QApplication::activeWindow();
        return QMessageBox::question(owner, m.caption, m.text) == QMessageBox::Yes;
    });
}

} // namespace lexifol
