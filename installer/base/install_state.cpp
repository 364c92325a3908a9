#include "base/install_state.h"

InstallStateRecord InstallState;
