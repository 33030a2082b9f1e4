#pragma once

#include <QString>

// The "(A)" marker that makes a customer or a booking belong to the pharmacy.
namespace pharmacy {

// True when the text holds "(A)", "(A )", "( A)" or "( A )" anywhere.
bool ContainsMarker(const QString& text);
// Removes leading blanks and leading markers until neither is left. Returns true when a
// plain "(A)" was among them (the spaced forms only go away).
bool StripLeadingMarkers(QString& text);
// Puts "(A) " in front unless the text holds "(A)" already.
QString WithMarker(const QString& text);

}  // namespace pharmacy
