drav_talk( context, "Just so. Follow it, and it will show you what hides in its reeds." )
      drav_reveal_area( context, "reed_marsh" )
