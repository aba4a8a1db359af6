' Holds the clock open until OK is pressed. While the script holds the object, closing the
' clock's window only hides it; letting the object go ends the clock.
Set clock = CreateObject("Pavix.Application")

' The object has no members: this is error 438, not a crash.
On Error Resume Next
clock.Show
If Err.Number <> 438 Then WScript.Quit 1

MsgBox "The clock stays open until you press OK.", 0, "Pavix"
Set clock = Nothing
