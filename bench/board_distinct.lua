-- wrk: each request a target of its own, so no answer kept by the server
-- serves it: BOARD_TARGET with its %d replaced by a number drawn anew for
-- each request (a cursor's time of receipt, say).
local target = os.getenv("BOARD_TARGET")
math.randomseed(os.time())

request = function()
  return wrk.format("GET", string.format(target, math.random(1, 2000000000)))
end
