#ifndef OPERATORVIEW_H
#define OPERATORVIEW_H

#include "production/panelpicture.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// What the operator at the fixture sees and uses: the board number (counted, or typed or scanned),
// the start by the space bar (a foot switch types one) or a button the size of a hand, a verdict
// that reads from two metres, the keys to touch on a large picture and the failing channels with
// why.
class OperatorView : public QWidget
{
    Q_OBJECT

public:
    enum class Verdict {
        Ready,   // waiting for the next board
        Testing, // a board is under test
        Pass,
        Fail,
        Repeat,  // neither passed nor failed: test the board again
        Stopped, // the line stopped: nothing may be tested until the cause is mended
    };

    explicit OperatorView(QWidget *parent = nullptr);

    void showVerdict(Verdict verdict, const QString &status);
    Verdict verdict() const { return shownVerdict; }
    QString statusText() const;
    // The failures, in the interface's language, one a line.
    void setReasons(const QStringList &reasons);
    // The number a board without a typed number gets.
    void setNextBoard(int number);
    // What the operator typed or scanned for the next board, trimmed; empty for a counted board.
    QString typedBoard() const;
    void clearTypedBoard();
    void setSummary(const QString &text);
    // While a board is under test the start is refused and the abort offered.
    void setRunning(bool running);
    PanelPicture *picture() const { return panel; }

signals:
    void startRequested();
    void abortRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitVerdict();

    QLineEdit *boardEdit = nullptr;
    QPushButton *startButton = nullptr;
    QPushButton *abortButton = nullptr;
    QLabel *verdictLabel = nullptr;
    QLabel *statusLabel = nullptr;
    QLabel *summaryLabel = nullptr;
    QListWidget *reasonsList = nullptr;
    PanelPicture *panel = nullptr;
    Verdict shownVerdict = Verdict::Ready;
};

#endif // OPERATORVIEW_H
