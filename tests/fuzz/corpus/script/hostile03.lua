setmetatable({}, {__gc = function() while true do end end}) return 1
