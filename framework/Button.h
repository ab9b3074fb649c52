#pragma once
// CButton: a push button bound to an object. Messages in the object's table are
// handled there; the rest go to the button's own window procedure.
#include "Wnd.h"

class CButton : public CWnd {};
