#include "host/Host.h"

#include "chores/Clipboard.h"
#include "core/Portable.h"
#include "server/Face.h"
#include "Clipboard.h"
#include "platform/Missing.h"
/* An include in a comment is not one:
#include "server/Face.h"
*/

#include <oleauto.h>
