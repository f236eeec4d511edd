#pragma once
// The Locked state of a combo box: the box still takes the focus and its text can be selected,
// but neither typing, the arrow keys, the wheel nor the list change its text.
class QComboBox;

bool ComboLocked(const QComboBox* box);
void SetComboLocked(QComboBox* box, bool locked);
