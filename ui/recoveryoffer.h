#pragma once

#include "ui/recovery.h"

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QToolButton;
class QWidget;

// The line above the target list that offers work found in the recovery folder: how many
// files and when the newest was kept, with Import newest, Choose... and Dismiss. It blocks
// nothing; it places itself above the list and moves the list down while it shows.
class RecoveryOffer {
public:
    RecoveryOffer(QWidget* window, QWidget* list);

    // Offers these files (newest first); the line shows while any is left.
    void Offer(std::vector<recovery::Recovered> files);
    // The newest file offered; nullptr when none is.
    const recovery::Recovered* Newest() const;
    // The file was imported (or failed to open): it is offered no longer.
    void Handled(const std::string& name);
    // The window has just put the list back in its own place: the line goes above it again.
    void ListPlaced();
    bool IsShown() const;
    QWidget* Widget() const;
    std::string Text() const;
    // The line's height as it shows; 0 while hidden.
    int Height() const;

    QToolButton* ImportNewestButton() const { return importNewest_; }
    QToolButton* DismissButton() const { return dismiss_; }

    std::function<void()> onImportNewest;
    std::function<void()> onChoose;

private:
    void Show(std::size_t count, std::time_t newest);
    void Hide();
    // Dismiss: every file offered counts as handled.
    void Dismiss();
    // The line for the files offered, placed above the list.
    void Refresh();
    void Place();

    QWidget* list_;
    std::vector<recovery::Recovered> offered_; // not yet imported or dismissed
    int shift_ = 0;                            // how far the line has moved the list down
    QFrame* frame_;
    QLabel* text_;
    QToolButton* importNewest_;
    QToolButton* choose_;
    QToolButton* dismiss_;
};

// "Recovered: 3 templates, newest 2026-12-11 02:15".
std::string RecoveryOfferText(std::size_t count, std::time_t newest);
