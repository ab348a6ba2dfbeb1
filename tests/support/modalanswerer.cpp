#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

ModalAnswerer::ModalAnswerer(QMessageBox::StandardButton answer, QObject *parent)
    : QObject(parent), m_answer(answer)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

QString ModalAnswerer::texts() const
{
    QStringList lines;
    for (const Box &b : m_boxes)
        lines << b.title + QStringLiteral(": ") + b.text;
    return lines.join(QLatin1Char('\n'));
}

void ModalAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_boxes.append(Box{box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    QAbstractButton *button = box->button(m_answer);
    if (!button)
        button = box->escapeButton();
    if (!button)
        button = box->defaultButton();
    if (!button && !box->buttons().isEmpty())
        button = box->buttons().first();
    if (button)
        button->click();
    else
        box->reject();
}
