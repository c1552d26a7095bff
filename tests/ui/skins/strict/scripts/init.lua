-- A skin with strict globals: reading or assigning an undeclared global raises an error.
-- The framework's own look-ups and assignments in the globals must not take it down.
local function undeclared(_, name) error("undeclared global " .. tostring(name), 0) end
setmetatable(_G, {__index = undeclared, __newindex = undeclared})

local timer = CXTimer:new()
timer:SetInterval(200)
timer:SetCallback("NoTick")
timer:StartTimer()

local main = CreateTemplate("main")
-- Creating the window lets the host register a function while this chunk runs.
MessageBox(CreateWindow(main, nil) ~= 0, "created")
MessageBox(rawget(_G, "HostValue") == nil, "host function refused")
