' Holds the clock open until OK is pressed. While the script holds the object, closing the
' clock's window only hides it; letting the object go ends the clock.
Set clock = CreateObject("Pavix.Application")
WScript.Echo "created"

' The object has no members: this is error 438, not a crash.
On Error Resume Next
clock.Show
WScript.Echo "Show: " & Err.Number & " " & Err.Description
On Error GoTo 0

MsgBox "The clock stays open until you press OK.", 0, "Pavix"
Set clock = Nothing
WScript.Echo "released"
