#include "programend.h"

#include "pageend.h"

#include <QString>

void exitProcessNow(int status)
{
    endGameInPage(status, QString());
}

void ProcessEnd::end()
{
    exitProcessNow(0);
}
