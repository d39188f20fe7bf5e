#pragma once
// Internal to platform/ui (Qt): what assistive technology sees of the icon
// view. Qt describes the items of its own item views only; this gives the
// icon view a list whose children are its items, each named by the item's
// Qt::AccessibleTextRole (else its label).

// Makes Qt ask this file for the icon view's accessible interface; once.
void InstallIconGridAccessibility();
