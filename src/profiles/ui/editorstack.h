#pragma once
// The stacked fold groups of the profile panes: a bold header bar with a small fold
// button over each key/value editor, in a vertically scrolling column.
#include <QFrame>
#include <QScrollArea>
#include <QStringList>

class QPushButton;
class QVBoxLayout;
class TValueListEditor;

// A header bar of a fold group ("      Name", bold, on the button-shadow colour); its
// fold button sits at (5, 3), 12 by 12. Double-clicks are reported.
class THeaderBar : public QFrame
{
    Q_OBJECT
public:
    THeaderBar(const QString &caption, QWidget *parent = nullptr);
    QPushButton *foldButton() const { return m_button; }
Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPushButton *m_button;
};

class TEditorStack : public QScrollArea
{
    Q_OBJECT
public:
    explicit TEditorStack(QWidget *parent = nullptr);

    // Appends a group: its header bar, then an editor holding the keys with empty values,
    // 18 pixels a row. The header bar is returned through header.
    TValueListEditor *addGroup(const QString &name, const QStringList &keys, THeaderBar **header,
                               int keyColumnWidth = 95);
    // Ends the column: the groups stay at the top.
    void finish();

private:
    QWidget *m_column;
    QVBoxLayout *m_layout;
};

// Folds or unfolds an editor by its button: "+" unfolds to rows x 17 + rows + 1 pixels
// and shows "-"; "-" folds to 1 pixel and shows "+".
void FoldEditor(QPushButton *button, TValueListEditor *editor);
