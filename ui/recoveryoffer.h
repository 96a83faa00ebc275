#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

class QFrame;
class QLabel;
class QToolButton;
class QWidget;

// The line above the target list that offers work found in the recovery folder: how many
// files and when the newest was kept, with Import newest, Choose... and Dismiss. It blocks
// nothing; the window places it and moves the list down while it shows.
class RecoveryOffer {
public:
    explicit RecoveryOffer(QWidget* window);

    void Show(std::size_t count, std::time_t newest);
    void Hide();
    bool IsShown() const;
    QWidget* Widget() const;
    std::string Text() const;
    // The line's height as it shows; 0 while hidden.
    int Height() const;

    QToolButton* ImportNewestButton() const { return importNewest_; }
    QToolButton* ChooseButton() const { return choose_; }
    QToolButton* DismissButton() const { return dismiss_; }

    std::function<void()> onImportNewest;
    std::function<void()> onChoose;
    std::function<void()> onDismiss;

private:
    QFrame* frame_;
    QLabel* text_;
    QToolButton* importNewest_;
    QToolButton* choose_;
    QToolButton* dismiss_;
};

// "Recovered: 3 templates, newest 2026-12-11 02:15".
std::string RecoveryOfferText(std::size_t count, std::time_t newest);
