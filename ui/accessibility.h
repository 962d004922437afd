#pragma once
// What a screen reader hears: value fields speak their name and their
// current caption ("p value, 0.01786").

class QLabel;
class QString;
class QWidget;

namespace ambrelay {

// Marks a label as a value field with the given spoken name.
void MakeValueField(QLabel* label, const QString& name);

// Sets a value field's caption and tells assistive tools that what it says
// has changed.
void SetValueCaption(QLabel* label, const QString& caption);

// Presents a top-level window as a frame named by its title.
void MakeFrame(QWidget* window);

}  // namespace ambrelay
