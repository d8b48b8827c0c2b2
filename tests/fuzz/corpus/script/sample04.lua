if drav_check_tag( context, "ferry_fare_asked" ) then
      drav_talk( context, "Short of the ferry fare? I buy what others leave behind." )
     else
      drav_talk( context, "Pies, tonics, lanterns, knives. Take a look." )
     end
     drav_add_talk_path( context, "Let me see your goods.", "trade" )
     drav_add_talk_path( context, "Another time.", "" )
