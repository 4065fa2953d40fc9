#include "screenreaders.h"

void bridgeToScreenReaders()
{
}
