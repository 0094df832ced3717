#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

#include "app/Program.h"

namespace kv::app::testing {

// Plays the operator from a timer on the program's loop, which keeps firing
// inside message boxes: answers each new box by its text, and carries out
// the steps of a scenario in order, each once its condition holds.
class Operator {
  public:
    // The button to press for a box; an empty text leaves the box open.
    using Answer = std::function<QString(const QString& text)>;
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };

    // Two timers: a timer does not fire again while its own handler runs,
    // and a step's action may be waiting in a box that the robot must answer.
    Operator() {
        stepsTimer_.setInterval(10);
        QObject::connect(&stepsTimer_, &QTimer::timeout, [this] { NextStep(); });
        answersTimer_.setInterval(10);
        QObject::connect(&answersTimer_, &QTimer::timeout, [this] { AnswerBox(); });
    }

    void AnswerWith(Answer answer) { answer_ = std::move(answer); }
    void Then(std::function<bool()> ready, std::function<void()> act) {
        steps_.push_back({std::move(ready), std::move(act)});
    }
    void Then(std::function<void()> act) {
        Then([] { return true; }, std::move(act));
    }

    // Runs the program to its end. False when it had to be stopped because
    // the scenario did not get through in time.
    bool Run(Program& program) {
        bool timedOut = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            QCoreApplication::quit();
        });
        watchdog.start(30000);
        stepsTimer_.start();
        answersTimer_.start();
        program.Run();
        stepsTimer_.stop();
        answersTimer_.stop();
        return !timedOut;
    }

    const QStringList& Boxes() const { return boxes_; }
    bool AllStepsDone() const { return next_ == steps_.size(); }
    // The text of the box on screen now, or the empty text.
    static QString OpenBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box == nullptr ? QString() : box->text();
    }

  private:
    void NextStep() {
        if (next_ >= steps_.size() || !steps_[next_].ready()) {
            return;
        }
        const std::size_t current = next_++;
        steps_[current].act();
    }

    void AnswerBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box == answered_) {
            return;
        }
        // The off-screen display is narrower than the window: every start
        // says so first. Acknowledged, and left out of the record.
        const bool narrowScreen = box->text().startsWith(QStringLiteral("你目前的显示器分辨率是"));
        if (box != seen_ && !narrowScreen) {
            boxes_.append(box->text());
        }
        seen_ = box;
        const QString press =
            narrowScreen || !answer_ ? QStringLiteral("确定") : answer_(box->text());
        if (press.isEmpty()) {
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press) {
                answered_ = box;
                button->click();
                return;
            }
        }
    }

    QTimer stepsTimer_;
    QTimer answersTimer_;
    Answer answer_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QPointer<QMessageBox> seen_;
    QPointer<QMessageBox> answered_;
    QStringList boxes_;
};

}  // namespace kv::app::testing
