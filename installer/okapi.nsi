; The OKAPI installer. makensis gets, as defines: TARGET, VERSION, PUBLISHER,
; STAGE (a folder holding okapi.exe and docs\llb3cust.chm), ICON and OUTFILE;
; SIGN (a command that signs the file named last) when the build signs.
; As many bits as the program it installs: the shipped one is 32-bit, so that
; it runs on every Windows that does.
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
!include "FileFunc.nsh"

!ifdef SIGN
  !finalize '${SIGN} "%1"'
  !uninstfinalize '${SIGN} "%1"'
!endif

!define PRODUCT "OKAPI"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OKAPI"

Name "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
; The program opens its help file at a fixed place beside the customization
; it makes, so it lives there too: no folder to choose (/D= still sets one).
InstallDir "C:\zantools\zanhelp\customization"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" ""

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "OKAPI"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\okapi.exe"
  SetOutPath "$INSTDIR\docs"
  File "${STAGE}\docs\llb3cust.chm"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\OKAPI Customization Tool.lnk" "$INSTDIR\okapi.exe" "" "$INSTDIR\okapi.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\OKAPI Help.lnk" "$INSTDIR\docs\llb3cust.chm"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall OKAPI.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} Customization Tool"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\okapi.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ; Only what this installs: the backup and the package beside it are the user's.
  ${GetSize} "$INSTDIR" "/M=okapi.exe /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR\docs" "/M=llb3cust.chm /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: the backup of the help
; application's first files and the package made for other computers are the
; user's, so the folders are removed only when empty.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\OKAPI Customization Tool.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\OKAPI Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall OKAPI.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\okapi.exe"
  Delete "$INSTDIR\docs\llb3cust.chm"
  RMDir "$INSTDIR\docs"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
