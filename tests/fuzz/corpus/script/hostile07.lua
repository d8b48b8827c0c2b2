local co = coroutine.wrap(function(a) coroutine.yield(a) end) return co(drav_get_gold(context))
