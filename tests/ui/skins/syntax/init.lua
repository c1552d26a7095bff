MessageBox("never", "init")
local x = = 1
