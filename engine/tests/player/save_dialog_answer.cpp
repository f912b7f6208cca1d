#include "save_dialog_answer.h"

namespace playertest {

SaveDialogAnswer::SaveDialogAnswer(const std::string& fileName)
    : fileName_(fileName), hook_([this](HWND dialog, AFX_MODAL_KIND) -> INT_PTR {
          answered_ = true;
          if (fileName_.empty())
              return IDCANCEL;
          // The file name box: a combo box in the explorer-style dialog, an edit box in the old one.
          HWND name = GetDlgItem(dialog, 0x47C);
          if (!name)
              name = GetDlgItem(dialog, 0x480);
          SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName_.c_str()));
          return IDOK;
      }) {}

} // namespace playertest
