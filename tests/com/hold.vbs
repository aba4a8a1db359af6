' Holds the clock open until OK is pressed. While the script holds the object, closing the
' clock's window only hides it; letting the object go ends the clock.
Set clock = CreateObject("Pavix.Application")

' The object has no members: calling one is the script's error, not a crash of the clock,
' which the test would see gone before it closes the window.
On Error Resume Next
clock.Show

MsgBox "The clock stays open until you press OK.", 0, "Pavix"
Set clock = Nothing
