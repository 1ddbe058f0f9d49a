#ifndef PANELPICTURE_H
#define PANELPICTURE_H

#include <QVector>
#include <QWidget>

// The product's keys as a large picture for the operator, in key-number order on a grid: the key
// to touch now lights up, a key judged turns green or red, and the channel of each is named.
class PanelPicture : public QWidget
{
    Q_OBJECT

public:
    enum class State {
        Waiting, // not asked for yet
        Lit,     // touch it now
        Passed,
        Failed,
    };
    struct Key
    {
        int channel = 0;
        int keyNumber = 0;
        State state = State::Waiting;
    };

    explicit PanelPicture(QWidget *parent = nullptr);

    void setKeys(const QVector<Key> &keys);
    // Every key back to waiting.
    void resetStates();
    void setState(int channel, State state);
    State stateOf(int channel) const;
    const QVector<Key> &keys() const { return shown; }

    QSize sizeHint() const override { return QSize(420, 260); }
    QSize minimumSizeHint() const override { return QSize(240, 150); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<Key> shown;
};

#endif // PANELPICTURE_H
