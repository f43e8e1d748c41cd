// The dialogs behind the plug-in's push items in the core driver's list. A dialog joins by adding
// its row here (before the end marker); a push item whose dialog has no row is not offered.
#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqdrytimedlg.h"
#include "pages/dialogs/zqtilingdlg.h"

namespace {

const ZQOemDialogRow kDialogRows[] = {
    {kOemDialogDryTime, &CZQDryTimeDlg::IRunFromPushItem},
    {kOemDialogTiles, &CZQTilingSelectionDlg::IRunFromPushItem},
    {kOemDialogNone, nullptr},
};

}  // namespace

const ZQOemDialogRow* ZQOemDialogTable() { return kDialogRows; }
