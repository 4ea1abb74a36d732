#pragma once

class ChoiceList;
class QComboBox;

// Makes an editable combo box show a choice list and report what the user picks or types.
void BindChoiceList(QComboBox* combo, ChoiceList& choices);
