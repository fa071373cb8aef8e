#pragma once

#include <QPixmap>

// The program's logo, drawn rather than shipped as a picture file.
QPixmap corvaneLogo(const QSize& size);
