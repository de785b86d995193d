#pragma once
// The axis rules every chart of the program shares: ranges rounded up to
// readable values, and where a value goes inside the plot rectangle. Pure.

#include <QPointF>
#include <QRectF>

// The smallest of 1, 2, 5 times a power of ten that is at least `value`;
// 1 for nothing positive (an empty or losing series still gets an axis).
double NiceCeiling(double value);

// Where (x, y) of axes running 0 … xMax and 0 … yMax lies in `plot`; y grows
// upwards, and values outside the range are held at the plot's edge.
QPointF PlotPosition(const QRectF& plot, double x, double xMax, double y, double yMax);
