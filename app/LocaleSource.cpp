// The shipped program's locale inputs: the platform's, and nothing else.
#include "LocaleGate.h"

LocaleInputs ReadLocaleInputs() {
    return ReadPlatformLocaleInputs();
}
