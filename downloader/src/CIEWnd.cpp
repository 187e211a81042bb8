#include "CIEWnd.h"

CIEWnd::~CIEWnd() = default;
