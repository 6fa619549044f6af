#include "app/Form4.h"

namespace kirasoe {

Form4Class& Form4 = *new Form4Class;

Form4Class::Form4Class()
    : tk::Form({.name = L"Form4", .caption = L"Kirasoe", .backColor = ::GetSysColor(COLOR_HIGHLIGHTTEXT)}) {}

}  // namespace kirasoe
