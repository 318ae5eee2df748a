#pragma once

#include <QIcon>

class QStyle;

// The icon of a navigation item by its index in the navigation table (0..25), taken from the
// desktop theme when it has one, else from the style's standard icons. An unknown index gives
// a generic document icon.
QIcon NavIcon(int index, const QStyle* style);

// The application's own icon (header, window, About).
QIcon AppIcon(const QStyle* style);
