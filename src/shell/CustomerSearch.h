#pragma once

#include <QString>

class TSGrid;

// The customer search of the customers workspace.
namespace customersearch {

// The items of the criterion box, in this order.
enum class Criterion { Name, Number, InList, InNotes, InCards };

struct Outcome {
    int record = -1;   // customer to select; -1 keeps the selection
    QString message;   // shown in the result label; empty hides it
    bool red = false;  // else green
    bool showContinue = false;
};

// Runs on every change of the search field. `current` is the selected customer.
Outcome Search(const TSGrid& customers, Criterion criterion, const QString& text, int current);
// The continue button: the same search from the customer after the current one.
Outcome Continue(const TSGrid& customers, Criterion criterion, const QString& text, int current);

}  // namespace customersearch
