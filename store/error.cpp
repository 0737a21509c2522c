#include "store/error.h"

#include <utility>

AppError::AppError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
