#include "platform/ui/cmd_target.h"

#include "platform/ui/cmd_ui.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT code, UINT id) {
  for (const AFX_MSGMAP_ENTRY* e = entries; e && e->pfn; ++e) {
    if (e->nMessage == message && e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
  }
  return nullptr;
}

BOOL CCmdTarget::DispatchToMap(UINT message, UINT code, UINT id, AfxMessageCall& call) {
  // Class hierarchies are shallow; the cap guards a map chain that loops.
  int depth = 0;
  for (const AFX_MSGMAP* map = GetMessageMap(); map && depth < 64; ++depth) {
    if (const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(map->lpEntries, message, code, id)) {
      entry->pfn(this, call);
      return TRUE;
    }
    map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr;
  }
  return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const UINT code = static_cast<UINT>(nCode);
  int depth = 0;
  for (const AFX_MSGMAP* map = GetMessageMap(); map && depth < 64; ++depth) {
    if (const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(map->lpEntries, WM_COMMAND, code, nID)) {
      if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
      }
      AfxMessageCall call;
      call.message = WM_COMMAND;
      call.wParam = MAKEWPARAM(nID, code);
      if (nCode == CN_UPDATE_COMMAND_UI) {
        auto* ui = static_cast<CCmdUI*>(pExtra);
        call.cmdUI = ui;
        ui->m_bContinueRouting = FALSE;
        entry->pfn(this, call);
        // A handler that asked to continue lets the next target answer.
        return ui->m_bContinueRouting ? FALSE : TRUE;
      }
      entry->pfn(this, call);
      return TRUE;
    }
    map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr;
  }
  return FALSE;
}
