#pragma once
// "Glimra Help" (template 503): shown when help cannot be displayed; offers
// the on-line help page, which its link opens in the web browser.

#include "platform/ui/dialog.h"
#include "support/framework/hyper_link.h"
#include "support/framework/zu_big_icon.h"

class CHelpMissingDlg : public CDialog {
  DECLARE_DYNAMIC(CHelpMissingDlg)

 public:
  explicit CHelpMissingDlg(CWnd* parent = nullptr);
  ~CHelpMissingDlg() override;
  CHelpMissingDlg(const CHelpMissingDlg&) = delete;
  CHelpMissingDlg& operator=(const CHelpMissingDlg&) = delete;

  CZUBigIcon m_bigIcon;
  CHyperLink m_link;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  DECLARE_MESSAGE_MAP()
};
