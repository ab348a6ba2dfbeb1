#pragma once
// Answers the modal message boxes that the code under test opens (errors, questions)
// and records what they said, so that tests neither hang nor miss a message.
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

// (No Q_OBJECT: the helper has no signals, and its header is not part of the moc run.)
class ModalAnswerer : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
    };

    // Starts watching at once. A box is answered with the given button when it has
    // one, otherwise with its escape (or default, or first) button.
    explicit ModalAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok, QObject *parent = nullptr);

    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    const QList<Box> &boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }
    // All texts seen so far, one per line (for failure messages).
    QString texts() const;

private:
    void poll();
    QTimer m_timer;
    QMessageBox::StandardButton m_answer;
    QList<Box> m_boxes;
};
