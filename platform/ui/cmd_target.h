#pragma once
// Objects that receive commands through a message map: windows and the
// application.

#include "platform/ui/cobject.h"
#include "platform/ui/message_map.h"

struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
};

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;

  // Looks for a WM_COMMAND entry of this object's maps (own map first, then
  // the bases') for the id and code and runs it. With handlerInfo set it only
  // reports whether one exists. pExtra is the CCmdUI of an update request.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

 protected:
  // Walks this object's map chain for the first entry matching; runs it and
  // answers TRUE, or FALSE when none matched.
  BOOL DispatchToMap(UINT message, UINT code, UINT id, AfxMessageCall& call);
};
