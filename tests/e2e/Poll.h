#pragma once
// Waiting for a program in another process: there is nothing to wait on but
// what can be seen of it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

// Asks again and again, with a short pause, until the answer is yes or the
// time is up. The game runs in its own process: there is nothing to wait on.
template <class Condition>
bool Poll(Condition condition, int timeoutMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (condition())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(100);
        // Lets QProcess notice that the game has ended.
        QCoreApplication::processEvents();
    }
}
